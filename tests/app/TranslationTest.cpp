// SPDX-License-Identifier: Apache-2.0
#include "app/Translations.h"
#include "app/VirtualPanelsWindow.h"
#include "tests/support/WindowsFixture.h"
#include "ui/Widgets.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTranslator>
#include <QTreeWidget>

#include <functional>

namespace {

// Every text a window shows or tells a screen reader, one line each.
QStringList ShownTexts(QWidget& window) {
    QStringList texts;
    const auto add = [&](const QString& text) {
        for (const QString& line : DisplayText(text).split('\n')) {
            if (!line.trimmed().isEmpty()) {
                texts << line.trimmed();
            }
        }
    };
    add(window.windowTitle());
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->window() != &window || !control->isVisibleTo(&window)) {
            continue;
        }
        add(control->toolTip());
        add(control->accessibleName());
        if (auto* button = qobject_cast<ColourButton*>(control)) {
            add(button->Caption());
        } else if (auto* other = qobject_cast<QAbstractButton*>(control)) {
            add(other->text());
        }
        if (auto* panel = qobject_cast<Panel*>(control)) {
            add(panel->Caption());
        }
        if (auto* label = qobject_cast<ColourLabel*>(control)) {
            add(label->Caption());
        }
        if (auto* label = qobject_cast<QLabel*>(control)) {
            add(label->text());
        }
        if (auto* box = qobject_cast<QComboBox*>(control)) {
            for (int i = 0; i < box->count(); ++i) {
                add(box->itemText(i));
            }
        }
        if (auto* list = qobject_cast<QTreeWidget*>(control)) {
            for (int column = 0; column < list->columnCount(); ++column) {
                add(list->headerItem()->text(column));
            }
        }
    }
    for (const QAction* item : window.findChildren<QAction*>()) {
        add(item->text());
    }
    return texts;
}

// Texts that are the same in German: product names, signal and key names,
// numbers, serial numbers and units.
bool SameInEveryLanguage(const QString& text) {
    static const QStringList names = {"GPIO", "GPI", "GPIO+GPI", "MEM", "TEST", "Name",
                                      "S/N",  "Min", "Panels",   "F1",  "F2",   "min"};
    static const QRegularExpression technical(
        R"(^([0-9 .,%:()/\x{2116}]*|Br: .*|QUVO-8261.*|QV\d.*|.*\bQV\d\.FF.*)$)");
    return names.contains(text) || technical.match(text).hasMatch();
}

// Every text 40 % longer, line by line, as a long language makes it.
class LongerTexts : public QTranslator {
public:
    QString translate(const char*, const char* source, const char*, int) const override {
        const QString text = QString::fromUtf8(source);
        const QString lineEnd = text.contains("\r\n") ? "\r\n" : "\n";
        QStringList lines = text.split(lineEnd);
        for (QString& line : lines) {
            line += QString((line.size() * 4 + 9) / 10, QChar('x'));
        }
        return lines.join(lineEnd);
    }
    bool isEmpty() const override { return false; }
};

// Controls whose text does not fit where it is drawn.
QStringList CutTexts(QWidget& window) {
    QStringList cut;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (control->window() != &window || !control->isVisibleTo(&window)) {
            continue;
        }
        bool fits = true;
        if (auto* button = qobject_cast<ColourButton*>(control)) {
            fits = button->CaptionFits();
        } else if (auto* panel = qobject_cast<Panel*>(control)) {
            fits = panel->CaptionFits();
        } else if (auto* label = qobject_cast<ColourLabel*>(control)) {
            fits = label->CaptionFits();
        } else if (auto* push = qobject_cast<QPushButton*>(control)) {
            // A push button's own size hint asks for a minimum width beyond its text.
            fits = push->fontMetrics().horizontalAdvance(push->text()) + 4 <= push->width();
        } else if (qobject_cast<QAbstractButton*>(control) != nullptr ||
                   qobject_cast<QLabel*>(control) != nullptr) {
            const QSize needed = control->sizeHint();
            fits = needed.width() <= control->width() && needed.height() <= control->height();
        }
        if (!fits) {
            cut << control->objectName();
        }
    }
    return cut;
}

class Translation : public WindowsFixture {
protected:
    // What `collect` finds in every window, with the editor online on the
    // 16-channel panel.
    QStringList InEveryWindow(const std::function<QStringList(QWidget&)>& collect) {
        QStringList found;
        WithEditorOnline(0, [&] {
            found << collect(*editor) << collect(*main);
            VirtualPanelsWindow virtualPanels;
            virtualPanels.show();
            found << collect(virtualPanels);
        });
        return found;
    }
};

TEST_F(Translation, InGermanNoTextIsLeftInEnglishButNamesAndNumbers) {
    AddDefaultPanels();
    const QStringList english = InEveryWindow(ShownTexts);
    QStringList german;
    {
        const ProgramTranslations translations{QLocale(QLocale::German, QLocale::Germany)};
        ASSERT_TRUE(translations.Loaded());
        german = InEveryWindow(ShownTexts);
    }
    ASSERT_FALSE(german.isEmpty());
    QStringList left;
    for (const QString& text : german) {
        if (english.contains(text) && !SameInEveryLanguage(text) && !left.contains(text)) {
            left << text;
        }
    }
    EXPECT_TRUE(left.isEmpty()) << left.join(" | ").toStdString();
    EXPECT_TRUE(german.contains("Gruppe"));
    EXPECT_FALSE(ProgramTranslations(QLocale::c()).Loaded()) << "English needs no translation";
}

TEST_F(Translation, TextsFortyPercentLongerStillFit) {
    AddDefaultPanels();
    EXPECT_TRUE(InEveryWindow(CutTexts).isEmpty()) << "in English already";
    LongerTexts longer;
    QCoreApplication::installTranslator(&longer);
    const QStringList cut = InEveryWindow(CutTexts);
    QCoreApplication::removeTranslator(&longer);
    EXPECT_TRUE(cut.isEmpty()) << cut.join(", ").toStdString();
}

} // namespace
