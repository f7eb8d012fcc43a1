// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QString>

#include <filesystem>
#include <optional>

// Profiles: the settings files `apply` gives panels, one folder of them. A
// panel's profile is named for its serial number (`QV1001.FFFF.gpi`), or for
// the part before its last dot (`QV1001.gpi`), as `--panel` matches; panels
// without one of their own take `default.gpi`.

// The folder `--profiles` names, else the user's:
// $XDG_CONFIG_HOME/QUVO-8261 Settings/panels (the system service names
// /etc/quvo8261/panels itself).
std::filesystem::path ProfileFolder(const QString& given);

// The profile of the panel with this serial number in `folder`; none when the
// folder holds none for it. Whatever stands under the name counts (a folder
// or a link to nothing is then refused as the panel's profile when read).
std::optional<std::filesystem::path> ProfileOf(const std::filesystem::path& folder,
                                               const QString& serial);
