// SPDX-License-Identifier: Apache-2.0
#pragma once

#include "model/SettingsFiles.h"

#include <QString>
#include <QTemporaryDir>

// A settings file in `folder` that holds the factory configuration, for the
// tool's `import`; its path.
inline QString FactorySettingsFile(const QTemporaryDir& folder) {
    const QString file = folder.filePath("rack.gpi");
    ConfigBlock block;
    LoadFactoryValues(block);
    WriteSettingsFile(FilePath(file), block);
    return file;
}
