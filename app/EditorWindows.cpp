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

bool RunWhileEditorShown(TFormEdit& editor, const std::function<void()>& open,
                         const std::function<void()>& whileShown) {
    bool shown = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!shown && editor.isVisible()) {
            shown = true;
            poll.stop();
            whileShown();
        }
    });
    poll.start();
    open();
    return shown;
}

bool RunEditorOnline(TFormMain& main, TFormEdit& editor, int row,
                     const std::function<void()>& whileOnline, int timeoutMs) {
    main.SelectRow(row);
    bool online = false;
    RunWhileEditorShown(
        editor, [&] { main.OpenSelectedDevice(); },
        [&] {
            online = ProcessEventsUntil([&] { return editor.Model().Online(); }, timeoutMs);
            if (online) {
                whileOnline();
            }
            if (editor.isVisible()) {
                editor.reject();
            }
        });
    return online;
}
