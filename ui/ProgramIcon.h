// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QIcon>

// The program's icon: a panel of sixteen lit keys, drawn at the usual sizes.
QIcon ProgramIcon();
