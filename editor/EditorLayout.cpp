// SPDX-License-Identifier: Apache-2.0
// Builds the editor window: every control with its name, place, caption, font
// and colours. The handlers are connected in ConnectHandlers.
#include "editor/UnitGPI.h"

#include "ui/ColourButton.h"
#include "ui/ColourLabel.h"
#include "ui/ControlText.h"
#include "ui/DurationField.h"
#include "ui/OwnerDrawnMenu.h"
#include "ui/PaintBox.h"
#include "ui/Panel.h"
#include "ui/ScreenColour.h"

#include "editor/EditorLook.h"
#include "ui/WindowPlacement.h"

#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int LegendWidth = 122;
constexpr int StripWidth = 49;
// Row tops and heights, the same in every column.
constexpr int NumberTop = 0, NumberHeight = 31;
constexpr int GpioTop = 31, GpioHeight = 72;
constexpr int GroupTop = 103, GroupHeight = 31;
constexpr int ModeTop = 134, ModeHeight = 104;
constexpr int ColoursTop = 238, ColoursHeight = 160;
constexpr int ChannelAreaHeight = ColoursTop + ColoursHeight + 2;
constexpr int StateButtonTops[4] = {9, 46, 83, 120};
constexpr int LegendStateTops[4] = {5, 42, 79, 116};

Panel* MakePanel(QWidget* parent, const QString& name, QRect geometry) {
    auto* panel = new Panel(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    return panel;
}

ColourButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                         QRect geometry) {
    auto* button = new ColourButton(parent);
    button->setObjectName(name);
    button->SetCaption(caption);
    button->setGeometry(geometry);
    return button;
}

ColourButton* MakeCommandButton(QWidget* parent, const QString& name, const QString& caption,
                                QRect geometry) {
    auto* button = MakeButton(parent, name, caption, geometry);
    button->setFont(PixelFont("Tahoma", 11, true));
    button->SetFaceColour(WindowColour);
    button->SetTextColour(0x00FFFFFF);
    return button;
}

QAction* AddItem(QMenu* menu, const QString& name, const QString& caption, int tag) {
    QAction* action = menu->addAction(DisplayText(caption));
    action->setObjectName(name);
    action->setData(tag);
    return action;
}

QMenu* MakeMenu(QWidget* parent, const QString& name) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(name);
    return menu;
}

} // namespace

QString ColourButtonName(int state, int channel) {
    return channel == 0 ? QString("BtnC%1").arg(state)
                        : QString("BtnC%1_%2").arg(state).arg(channel);
}

int TagOf(const QObject* control) {
    return control->property("tag").toInt();
}

void SetTag(QObject* control, int tag) {
    control->setProperty("tag", tag);
}

void TFormEdit::BuildLayout() {
    setAutoFillBackground(true);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, QColorFromScreen(WindowColour));
    windowPalette.setColor(QPalette::WindowText, Qt::white);
    // Disabled check boxes look disabled: grey text on the grey window.
    windowPalette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0xA8, 0xA8, 0xA8));
    setPalette(windowPalette);
    setFont(PixelFont("Tahoma", 11));

    // The controls keep their places on a canvas, which scrolls where the
    // screen is smaller than the editor.
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName("EditorScroll");
    scrollArea_->setFrameShape(QFrame::NoFrame);
    // The controls take the focus, not their container.
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    canvas_ = new QWidget;
    canvas_->setObjectName("EditorCanvas");
    canvas_->setAutoFillBackground(true);
    canvas_->setFixedWidth(1149);
    scrollArea_->setWidget(canvas_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);

    BuildMenus();

    PanBack = MakePanel(canvas_, "PanBack", QRect(0, 0, 908, ChannelAreaHeight));
    BuildLegendColumn(MakePanel(PanBack, "Pan0", QRect(0, 0, LegendWidth, ChannelAreaHeight - 2)));
    for (int channel = 1; channel <= ChannelCount; ++channel) {
        BuildChannelColumn(MakePanel(PanBack, QString("Pan%1").arg(channel),
                                     QRect(LegendWidth + (channel - 1) * StripWidth, 0, StripWidth,
                                           ChannelAreaHeight - 2)),
                           channel);
    }
    PanCtrl = MakePanel(canvas_, "PanCtrl", QRect(911, 0, 144, ChannelAreaHeight));
    BuildControlPanel(PanCtrl);
    PanTemp = MakePanel(canvas_, "PanTemp", QRect(1058, 0, 91, ChannelAreaHeight));
    BuildCommandPanel(PanTemp);
    BuildMemoryPanel();
    SetCanvasHeight(ChannelAreaHeight);
}

void TFormEdit::BuildMenus() {
    CMenu = new OwnerDrawnMenu(this);
    CMenu->setObjectName("CMenu");
    for (int slot = 1; slot <= OffSlot; ++slot) {
        AddItem(CMenu, QString("CMenuItem%1").arg(slot), QString(), slot);
    }
    BMenu = MakeMenu(this, "BMenu");
    auto* levels = new QActionGroup(BMenu);
    levels->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const std::pair<const char*, int> levelItems[] = {{"100%", 255}, {"75%", 192},
                                                      {"50%", 128},  {"30%", 64},
                                                      {"15%", 32},   {QT_TR_NOOP("Min"), 4}};
    const char* const levelNames[] = {"BMenu100", "BMenu75", "BMenu50",
                                      "BMenu30",  "BMenu15", "BMenuMin"};
    for (std::size_t i = 0; i < std::size(levelItems); ++i) {
        levels
            ->addAction(
                AddItem(BMenu, levelNames[i], tr(levelItems[i].first), levelItems[i].second))
            ->setCheckable(true);
    }
    BMenu->addSeparator();
    levels->addAction(AddItem(BMenu, "BMenu0", tr("None"), 0))->setCheckable(true);

    SMenu = MakeMenu(this, "SMenu");
    AddItem(SMenu, "SMenuCA", tr("copy Color -> All"), 0);
    AddItem(SMenu, "SMenuCG", tr("copy Color -> Same Group"), 0);
    SMenu->addSeparator();
    AddItem(SMenu, "SMenuSA", tr("serialize Colors -> All"), 0);
    AddItem(SMenu, "SMenuSG", tr("serialize Colors -> Same Group"), 0);

    MMenu = MakeMenu(this, "MMenu");
    AddItem(MMenu, "MMenuCA", tr("All"), 0);
    AddItem(MMenu, "MMenuCG", tr("Same Group"), 0);
    DMenu = MakeMenu(this, "DMenu");
    AddItem(DMenu, "DMenuCA", tr("All"), 0);
    AddItem(DMenu, "DMenuCG", tr("Same Group"), 0);

    CtrlMenu1 = MakeMenu(this, "CtrlMenu1");
    auto* functions1 = new QActionGroup(CtrlMenu1);
    functions1->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    functions1->addAction(AddItem(CtrlMenu1, "CtrlMenu1None", tr("None"), 0))->setCheckable(true);
    functions1->addAction(AddItem(CtrlMenu1, "CtrlMenu1Lock", tr("UnLock"), 1))->setCheckable(true);
    CtrlMenu2 = MakeMenu(this, "CtrlMenu2");
    auto* functions2 = new QActionGroup(CtrlMenu2);
    functions2->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    functions2->addAction(AddItem(CtrlMenu2, "CtrlMenu2None", tr("None"), 0))->setCheckable(true);
    const QString gpioOffCaption = tr("GPIO\r\n OFF");
    QAction* gpioOff = AddItem(CtrlMenu2, "CtrlMenu2GPO", gpioOffCaption, 1);
    gpioOff->setProperty("caption", gpioOffCaption);
    functions2->addAction(gpioOff)->setCheckable(true);
    functions2->addAction(AddItem(CtrlMenu2, "CtrlMenu2Mem", tr("MEM"), 2))->setCheckable(true);

    MenuLoad = MakeMenu(this, "MenuLoad");
    AddItem(MenuLoad, "MenuLoadFile", tr("from File..."), 0);
    AddItem(MenuLoad, "MenuLoadDefault", tr("Default values"), 0);
    AddItem(MenuLoad, "MenuLoadFactory", tr("Factory Settings"), 0);
    MenuLoad->addSeparator();
    AddItem(MenuLoad, "MenuCompare", tr("Compare with File..."), 0);
    MenuLoad->addSeparator();
    AddItem(MenuLoad, "MenuUndo", tr("Undo"), 0);
    AddItem(MenuLoad, "MenuRedo", tr("Redo"), 0);
    AddItem(MenuLoad, "MenuRevert", tr("Revert to the configuration read at open"), 0);
    MenuSave = MakeMenu(this, "MenuSave");
    AddItem(MenuSave, "MenuSaveFile", tr("to File..."), 0);
    AddItem(MenuSave, "MenuSaveDefault", tr("as Default"), 0);
}

void TFormEdit::BuildLegendColumn(Panel* column) {
    PanN = MakePanel(column, "PanN", QRect(0, NumberTop, LegendWidth, NumberHeight));
    // Tahoma's stand-in has no "№"; Liberation Sans draws it.
    QFont numberFont = PixelFont("Tahoma", 12, true);
    numberFont.setFamilies({"Liberation Sans", "DejaVu Sans", "Tahoma"});
    PanN->setFont(numberFont);
    PanN->SetCaption(QString::fromUtf8("\u2116"));
    PanN->setFocusPolicy(Qt::StrongFocus);

    Panel* gpio = MakePanel(column, "PanGPO", QRect(0, GpioTop, LegendWidth, GpioHeight));
    Panel* online = MakePanel(gpio, "PanOnline", QRect(0, 0, LegendWidth, 20));
    online->setFont(PixelFont("Tahoma", 11, true));
    online->SetCaption(tr("Online Control "));
    BoxLock = new QCheckBox(tr("Keylock installed"), gpio);
    BoxLock->setObjectName("BoxLock");
    BoxLock->setGeometry(6, 22, 114, 18);
    FitButtonText(*BoxLock);
    LabLock = new ColourLabel(gpio);
    LabLock->setObjectName("LabLock");
    LabLock->setGeometry(6, 44, 110, 22);
    LabLock->setFont(PixelFont("Tahoma", 11, true));
    LabLock->SetCaption(tr("UNLOCKED"));
    LabLock->SetColours(0x00777777, 0x00CCFFCC);
    LabLock->hide();

    MakePanel(column, "PanGrp", QRect(0, GroupTop, LegendWidth, GroupHeight))
        ->SetCaption(tr("Group"));
    findChild<Panel*>("PanGrp")->setFont(PixelFont("Tahoma", 11, true));

    Panel* mode = MakePanel(column, "PanMode", QRect(0, ModeTop, LegendWidth, ModeHeight));
    auto* gpioTitle = new ColourLabel(mode, true);
    gpioTitle->setObjectName("LabModeGPIO");
    gpioTitle->setGeometry(0, 0, 25, ModeHeight);
    gpioTitle->setFont(PixelFont("Tahoma", 11, true));
    gpioTitle->SetCaption(tr("GPIO"));
    Panel* modeCaption = MakePanel(mode, "PanModeCaption", QRect(25, 0, 97, 78));
    modeCaption->setFont(PixelFont("Tahoma", 11, true));
    modeCaption->SetCaption(tr("Mode"));
    Panel* duration = MakePanel(mode, "PanDur", QRect(25, 78, 97, 26));
    duration->setFont(PixelFont("Tahoma", 10));

    Panel* colours = MakePanel(column, "PanC", QRect(0, ColoursTop, LegendWidth, ColoursHeight));
    auto* coloursTitle = new ColourLabel(colours, true);
    coloursTitle->setObjectName("LabColors");
    coloursTitle->setGeometry(0, 0, 25, ColoursHeight);
    coloursTitle->setFont(PixelFont("Tahoma", 11, true));
    coloursTitle->SetCaption(tr("Colors "));
    Panel* buttons = MakePanel(colours, "PanColBtn", QRect(25, 0, 95, ColoursHeight));
    for (int state = 0; state < 4; ++state) {
        ColourButton* button = MakeButton(buttons, ColourButtonName(state, 0), StateName(state),
                                          QRect(2, LegendStateTops[state], 80, 35));
        SetTag(button, state);
        auto* indicator = new PaintBox(buttons);
        indicator->setObjectName(QString("IndC%1").arg(state));
        indicator->setGeometry(85, LegendStateTops[state] + 2, 5, 31);
        SetTag(indicator, state);
        indicators_[state] = indicator;
    }
}

void TFormEdit::BuildChannelColumn(Panel* column, int channel) {
    const QString n = QString::number(channel);
    Panel* number = MakePanel(column, "PanCap" + n, QRect(0, NumberTop, StripWidth, NumberHeight));
    number->setFont(PixelFont("Tahoma", 13, true));

    Panel* gpio = MakePanel(column, "PanB" + n, QRect(0, GpioTop, StripWidth, GpioHeight));
    const QFont smallFont = PixelFont("Small Fonts", 9);
    auto* gpioLabel = new ColourLabel(gpio);
    gpioLabel->setObjectName("IndGPO" + n);
    gpioLabel->setGeometry(0, 0, StripWidth, 15);
    gpioLabel->setFont(smallFont);
    auto* gpiLabel = new ColourLabel(gpio);
    gpiLabel->setObjectName("IndGPI" + n);
    gpiLabel->setGeometry(0, GpioHeight - 15, StripWidth, 15);
    gpiLabel->setFont(smallFont);
    ColourButton* gpioButton = MakeButton(gpio, "BtnGPO" + n, QString(), QRect(3, 17, 43, 38));
    gpioButton->SetFaceColour(0x00FFFFFF);

    Panel* group = MakePanel(column, "PanGrp" + n, QRect(0, GroupTop, StripWidth, GroupHeight));
    auto* groupBox = new QComboBox(group);
    groupBox->setObjectName("BoxGrp" + n);
    groupBox->setGeometry(3, 5, 42, 21);
    groupBox->setMaxVisibleItems(17);
    groupBox->setFont(PixelFont("Tahoma", 11));
    // Colours by palette, not by style sheet, as for the duration fields below.
    QPalette groupPalette = groupBox->palette();
    for (const QPalette::ColorRole role : {QPalette::Button, QPalette::Base, QPalette::Window}) {
        groupPalette.setColor(role, QColor(0xED, 0xED, 0xED));
    }
    for (const QPalette::ColorRole role :
         {QPalette::ButtonText, QPalette::Text, QPalette::WindowText}) {
        groupPalette.setColor(QPalette::Active, role, Qt::black);
        groupPalette.setColor(QPalette::Inactive, role, Qt::black);
    }
    groupBox->setPalette(groupPalette);

    Panel* mode = MakePanel(column, "PanMode" + n, QRect(0, ModeTop, StripWidth, ModeHeight));
    auto* modeGroup = new QButtonGroup(this);
    modeGroups_[channel] = modeGroup;
    const char* const modePrefixes[] = {"BtnAny", "BtnFix", "BtnPls"};
    for (int m = 0; m < 3; ++m) {
        ColourButton* button =
            MakeButton(mode, modePrefixes[m] + n, QString(), QRect(3, 6 + 24 * m, 43, 21));
        button->setCheckable(true);
        modeGroup->addButton(button, m);
    }
    auto* duration = new DurationField(mode);
    duration->setObjectName("EditMs" + n);
    duration->setGeometry(3, 78, 42, 23);
    duration->setFont(PixelFont("Arial Narrow", 11));
    // Colours by palette, not by style sheet: a style sheet gives the spin box a
    // new palette at every paint, and the style caches a picture for each one, so
    // a long session's memory grew with every repaint.
    QPalette durationPalette = duration->palette();
    durationPalette.setColor(QPalette::Base, QColor(0xED, 0xED, 0xED));
    durationPalette.setColor(QPalette::Text, Qt::black);
    durationPalette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x8C, 0x8C, 0x8C));
    // A disabled field's frame is drawn from the window colour: light, as on
    // the light field.
    durationPalette.setColor(QPalette::Disabled, QPalette::Window, QColor(0xED, 0xED, 0xED));
    for (const QPalette::ColorGroup colourGroup : {QPalette::Active, QPalette::Inactive}) {
        durationPalette.setColor(colourGroup, QPalette::ButtonText, Qt::black); // the step arrows
        durationPalette.setColor(colourGroup, QPalette::WindowText, Qt::black);
    }
    duration->setPalette(durationPalette);

    Panel* colours =
        MakePanel(column, "PanColors" + n, QRect(0, ColoursTop, StripWidth, ColoursHeight));
    for (int state = 0; state < 4; ++state) {
        MakeButton(colours, ColourButtonName(state, channel), QString(),
                   QRect(6, StateButtonTops[state], 36, 31));
    }
}

void TFormEdit::BuildControlPanel(Panel* panel) {
    Panel* header = MakePanel(panel, "PanCtrlHeader", QRect(0, 0, 144, 24));
    header->setFont(PixelFont("Tahoma", 11, true));
    header->SetCaption(tr("Control"));
    Panel* keys = MakePanel(panel, "PanKeys", QRect(0, 26, 144, 66));
    const QString keyNames[] = {"F1", "F2"};
    for (int key = 0; key < 2; ++key) {
        auto* label = new ColourLabel(keys);
        label->setObjectName("LabF" + QString::number(key + 1));
        label->setGeometry(8 + 66 * key, 2, 62, 14);
        label->SetCaption(keyNames[key]);
        label->setFont(PixelFont("Tahoma", 10));
    }
    BtnCtrl1 = MakeButton(keys, "BtnCtrl1", QString(), QRect(8, 18, 62, 38));
    BtnCtrl1->setMenu(CtrlMenu1);
    BtnCtrl2 = MakeButton(keys, "BtnCtrl2", QString(), QRect(74, 18, 62, 38));
    BtnCtrl2->setMenu(CtrlMenu2);
    for (ColourButton* button : {BtnCtrl1, BtnCtrl2}) {
        button->SetFaceColour(0x00FFFFFF);
        button->SetTextColour(0x00000000);
    }
    Panel* options = MakePanel(panel, "PanOptions", QRect(0, 100, 144, 24));
    options->setFont(PixelFont("Tahoma", 11, true));
    options->SetCaption(tr("Options"));
    // The caption is the box's own text, so it toggles and takes the focus mark;
    // it is broken into two lines to fit the panel.
    BoxSave = new QCheckBox(tr("Restore GPIO state\non Power up"), panel);
    BoxSave->setObjectName("BoxSave");
    BoxSave->setGeometry(6, 128, 136, 32);
    FitButtonText(*BoxSave);
    BoxSave->setAccessibleName(tr("Restore GPIO state on Power up"));
}

void TFormEdit::BuildCommandPanel(Panel* panel) {
    BtnClose = MakeCommandButton(panel, "BtnClose", tr("Close"), QRect(10, 5, 71, 24));
    Panel* offCell = MakePanel(panel, "PanOff", QRect(0, 36, 91, 52));
    BtnOff = MakeCommandButton(offCell, "BtnOff", QString(), QRect(10, 7, 71, 38));
    BtnLoad = MakeCommandButton(panel, "BtnLoad", tr("Load..."), QRect(10, 113, 70, 38));
    BtnLoad->setMenu(MenuLoad);
    BtnSave = MakeCommandButton(panel, "BtnSave", tr("Save..."), QRect(10, 161, 70, 38));
    BtnSave->setMenu(MenuSave);
    BtnTest = MakeCommandButton(panel, "BtnTest", tr("TEST"), QRect(10, 246, 71, 38));
    BtnMem = MakeCommandButton(panel, "BtnMem", tr("MEMORY"), QRect(10, 352, 71, 26));
    SetTag(BtnMem, 0);
}

void TFormEdit::BuildMemoryPanel() {
    PanMemBack =
        MakePanel(canvas_, "PanMemBack", QRect(0, PanBack->height(), PanBack->width(), 10));
    auto* title = new ColourLabel(PanMemBack, true);
    title->setObjectName("LabMem");
    title->setGeometry(0, 0, 25, 419);
    title->setFont(PixelFont("Tahoma", 11, true));
    title->SetCaption(tr("Memory"));
    auto* left = findChild<QWidget*>("PanColBtn");
    auto* last = findChild<QWidget*>("Pan16");
    const int frameWidth = last->x() + last->width() - left->x() - 2;
    Panel* frame = MakePanel(PanMemBack, "PanMemFrame", QRect(title->width(), 0, frameWidth, 417));
    Panel* draw = MakePanel(frame, "PanMemDraw", frame->rect());
    PanMemDraw = draw;
    PBoxMem = new PaintBox(draw);
    PBoxMem->setObjectName("PBoxMem");
    PBoxMem->setGeometry(draw->rect());
    PBoxMem->setMouseTracking(true);
    PanMemBack->resize(PanBack->width(), frame->y() + frame->height() + 2);
    // Hidden, the memory map takes no focus and no keys; MEMORY shows it.
    PanMemBack->hide();
    memoryButtonOffset_ = PanTemp->height() - BtnMem->y();
    memoryBitmap_ = QImage(PBoxMem->size(), QImage::Format_RGB888);
    memoryLayout_ = LayoutMemoryMap(memoryBitmap_.width(), memoryBitmap_.height(),
                                    left->width() + 2, findChild<QWidget*>("PanGrp")->height());
    DrawMemoryMap();
}

void TFormEdit::SetCanvasHeight(int height) {
    canvas_->setFixedHeight(height);
    FitToWorkArea(screen()->availableGeometry());
}

void TFormEdit::FitToWorkArea(const QRect& workArea) {
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    setFixedSize(ScrolledWindowSize(canvas_->size(), workArea.size() - frame,
                                    style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
}

void TFormEdit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only a shown window knows its frame and its screen.
    FitToWorkArea(screen()->availableGeometry());
}
