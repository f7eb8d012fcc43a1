// SPDX-License-Identifier: Apache-2.0
#include "cli/Profiles.h"

#include "model/DeviceBlocks.h"
#include "model/RegularFile.h"

#include <QStandardPaths>

std::filesystem::path ProfileFolder(const QString& given) {
    if (!given.isEmpty()) {
        return FilePath(given);
    }
    return FilePath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                    "/QUVO-8261 Settings/panels");
}

std::optional<std::filesystem::path> ProfileOf(const std::filesystem::path& folder,
                                               const QString& serial) {
    const std::string full = serial.toStdString();
    const std::string beforeDot = SplitAtLastDot(full).first;
    for (const std::string& name : {full, beforeDot, std::string("default")}) {
        if (name.empty()) {
            continue;
        }
        const std::filesystem::path profile =
            folder / FilePath(QString::fromStdString(name + ".gpi"));
        std::error_code ignored;
        if (std::filesystem::symlink_status(profile, ignored).type() !=
            std::filesystem::file_type::not_found) {
            return profile;
        }
    }
    return std::nullopt;
}
