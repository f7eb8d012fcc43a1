// SPDX-License-Identifier: Apache-2.0
#include "app/ProgramStart.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
