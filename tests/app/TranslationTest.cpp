// SPDX-License-Identifier: Apache-2.0
#include "app/VirtualPanelsWindow.h"
#include "link/Translations.h"
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/Panel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTranslator>
#include <QTreeWidget>

#include <functional>
#include <tuple>

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

// Texts that are the same in a language as in English: product names, signal
// and key names, numbers, serial numbers and units, and words both languages
// share.
bool SameInLanguage(const QString& text, QLocale::Language language) {
    static const QStringList names = {"GPIO", "GPI", "GPIO+GPI", "MEM", "TEST",
                                      "F1",   "F2",  "min",      "Min"};
    static const QStringList german = {"Name", "S/N", "Panels"};
    static const QStringList french = {"Mode", "Options", "cyan", "orange", "violet"};
    static const QRegularExpression technical(
        R"(^([0-9 .,%:()/\x{2116}]*|Br: .*|QUVO-8261.*|QV\d.*|.*\bQV\d\.FF.*)$)");
    return names.contains(text) || technical.match(text).hasMatch() ||
           (language == QLocale::German && german.contains(text)) ||
           (language == QLocale::French && french.contains(text));
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
        } else if (auto* box = qobject_cast<QComboBox*>(control)) {
            // Every item fits the box's text field, inside the pixel the styles
            // leave on each side (a group box's "n/a" among them).
            QStyleOptionComboBox option;
            option.initFrom(box);
            option.editable = box->isEditable();
            const int room = box->style()
                                 ->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, box)
                                 .width() -
                             2;
            for (int i = 0; i < box->count(); ++i) {
                fits = fits && box->fontMetrics().horizontalAdvance(box->itemText(i)) <= room;
            }
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

// German and French: every text the windows show is translated, Qt's own
// dialogs speak the language too, and every caption still fits its place.
TEST_F(Translation, InGermanAndFrenchEveryTextIsTranslatedAndFits) {
    AddDefaultPanels();
    const QStringList english = InEveryWindow(ShownTexts);
    ASSERT_FALSE(english.isEmpty());
    const std::tuple<QLocale, QString, QString> languages[] = {
        {QLocale(QLocale::German, QLocale::Germany), "Gruppe", "Abbrechen"},
        {QLocale(QLocale::French, QLocale::France), "Groupe", "Annuler"},
    };
    for (const auto& [locale, group, cancel] : languages) {
        SCOPED_TRACE(locale.name().toStdString());
        QStringList shown;
        QStringList cut;
        QString qtCancel;
        {
            const ProgramTranslations translations{locale};
            ASSERT_TRUE(translations.Loaded());
            shown = InEveryWindow(ShownTexts);
            cut = InEveryWindow(CutTexts);
            QDialogButtonBox buttons(QDialogButtonBox::Cancel);
            qtCancel = buttons.button(QDialogButtonBox::Cancel)->text().remove('&');
        }
        QStringList left;
        for (const QString& text : shown) {
            if (english.contains(text) && !SameInLanguage(text, locale.language()) &&
                !left.contains(text)) {
                left << text;
            }
        }
        EXPECT_TRUE(left.isEmpty()) << left.join(" | ").toStdString();
        EXPECT_TRUE(shown.contains(group));
        EXPECT_TRUE(cut.isEmpty()) << cut.join(", ").toStdString();
        EXPECT_EQ(qtCancel, cancel) << "Qt's own texts";
    }
    EXPECT_FALSE(ProgramTranslations(QLocale::c()).Loaded()) << "English needs no translation";
}

TEST_F(Translation, TextsFortyPercentLongerStillFit) {
    AddDefaultPanels();
    EXPECT_TRUE(InEveryWindow(CutTexts).isEmpty()) << "in English already";
    LongerTexts longer;
    QCoreApplication::installTranslator(&longer);
    QStringList cut = InEveryWindow(CutTexts);
    QCoreApplication::removeTranslator(&longer);
    // A group box holds "n/a" and the numbers in a field a few letters wide: a
    // translation keeps "n/a" that short (translations/GLOSSARY.md), and the
    // real ones are checked above.
    cut.removeIf([](const QString& name) { return name.startsWith("BoxGrp"); });
    EXPECT_TRUE(cut.isEmpty()) << cut.join(", ").toStdString();
}

} // namespace
