// SPDX-License-Identifier: Apache-2.0
#include "app/EditorWindows.h"

#include "ui/EventLoopWait.h"

#include <QTimer>

EditorWindows ShowEditorWindows(const QString& programSettingsFile, bool testButtonShown) {
    EditorWindows windows;
    windows.main = std::make_unique<TFormMain>(programSettingsFile);
    windows.editor = std::make_unique<TFormEdit>(testButtonShown);
    windows.main->SetEditor(windows.editor.get());
    windows.main->show();
    return windows;
}

bool RunEditorOnline(TFormMain& main, TFormEdit& editor, int row,
                     const std::function<void()>& whileOnline, int timeoutMs) {
    main.SelectRow(row);
    bool shown = false;
    bool online = false;
    // The editor runs its own event loop once shown; opening may also fail
    // before it is shown, and then this never runs.
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (shown || !editor.isVisible()) {
            return;
        }
        shown = true;
        poll.stop();
        online = ProcessEventsUntil([&] { return editor.Model().Online(); }, timeoutMs);
        if (online) {
            whileOnline();
        }
        if (editor.isVisible()) {
            editor.reject();
        }
    });
    poll.start();
    main.OpenSelectedDevice();
    return online;
}
