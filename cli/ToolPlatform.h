// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QtGlobal>

class QProcess;

// What the command-line tool needs of the operating system beyond Qt and the
// standard library. One file per system implements it (ToolPlatformLinux.cpp);
// a port to another system fills these in and nothing else in the tool.

// Before anything else is opened: standard input, output and error that were
// closed are opened on the null device, so that no file, pipe or library handle
// the tool opens later takes their numbers and receives what is printed.
void OpenClosedStandardStreams();

// A closed reader (`| head -1`) and a file-size limit become errors the tool
// reports instead of signals that end it.
void IgnoreSignalsThatReportErrors();

// Whether the reader of standard output has gone.
bool StandardOutputClosed();

// A panel's process of `--all`, before it starts: it ends with the tool (it is
// asked to stop as Ctrl+C asks it when the tool dies, however the tool ends) and
// inherits no descriptor of the tool but its own standard streams.
void EndWithTheTool(QProcess& process);

// Ends a started process at once and waits for it; for the tool's own last
// moments, when it can no longer wait for its panels' processes to finish.
void EndProcessNow(qint64 processId);
