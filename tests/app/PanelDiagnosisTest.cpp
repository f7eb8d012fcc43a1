// SPDX-License-Identifier: Apache-2.0
#include "link/PanelDiagnosis.h"
#include "app/ProgramStart.h"
#include "link/RecentMessages.h"
#include "tests/support/WindowsFixture.h"
#include "ui/FindControl.h"

#include <QDir>
#include <QFile>
#include <QPushButton>

namespace {

// A sysfs tree and /dev/bus/usb made by the test.
class PanelDiagnosis : public WindowsFixture {
protected:
    QString Sysfs() const { return usb.filePath("sys"); }
    QString Dev() const { return usb.filePath("dev"); }
    void AddChip(const QString& name, const QString& vendor, const QString& product,
                 const QString& serial, int device, const QString& driver = QString()) {
        QDir().mkpath(Sysfs() + "/" + name);
        const std::pair<const char*, QString> attributes[] = {
            {"idVendor", vendor}, {"idProduct", "6001"}, {"product", product},
            {"serial", serial},   {"busnum", "1"},       {"devnum", QString::number(device)}};
        for (const auto& [file, value] : attributes) {
            QFile out(Sysfs() + "/" + name + "/" + file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(value.toUtf8() + "\n");
        }
        if (!driver.isEmpty()) {
            QDir().mkpath(Sysfs() + "/" + name + ":1.0");
            QFile::link("/sys/bus/usb-serial/drivers/" + driver,
                        Sysfs() + "/" + name + ":1.0/driver");
        }
    }
    std::vector<AttachedChip> Find() {
        return FindAttachedChips(
            Sysfs(), Dev(), [this](const QString& node) { return !barredNodes.contains(node); });
    }
    QTemporaryDir usb;
    QStringList barredNodes;
};

TEST_F(PanelDiagnosis, EachReasonAPanelCannotBeUsed) {
    EXPECT_TRUE(Find().empty()) << "no USB at all";
    EXPECT_EQ(EmptyListText(Find()), "No QUVO-8261 panel attached.");

    AddChip("1-4", "0403", "FT232R USB UART", "A1B2C3", 4);
    AddChip("2-1", "10c4", "QUVO-8261-16 clone", "X", 9);
    auto chips = Find();
    ASSERT_EQ(chips.size(), 1u);
    EXPECT_FALSE(chips[0].isPanel) << "another FTDI device is no panel";
    EXPECT_EQ(EmptyListText(chips), "No QUVO-8261 panel attached.");

    AddChip("1-1", "0403", "QUVO-8261-16", "QV826100.FFFF", 5, "ftdi_sio");
    chips = Find();
    ASSERT_EQ(chips.size(), 2u);
    EXPECT_EQ(chips[0].state, AttachedChip::State::HeldByKernelDriver);
    EXPECT_EQ(chips[0].node, Dev() + "/001/005");
    EXPECT_EQ(EmptyListText(chips),
              "QUVO-8261-16 (QV826100.FFFF) is attached but the kernel's serial driver holds it: "
              "start the program with --driver=libftdi, which takes the chip over, or unload the "
              "driver with \"sudo rmmod ftdi_sio\" for FTDI's D2XX library.");
    MarkPanelsInUse(chips, {"QV826100.FFFF"});
    EXPECT_EQ(chips[0].state, AttachedChip::State::Usable)
        << "a back-end that lists it despite the driver (libftdi1) can use it";

    QDir(Sysfs()).removeRecursively();
    AddChip("1-2", "0403", "QUVO-8261-08", "QV826101.FF00", 6);
    barredNodes << Dev() + "/001/006";
    chips = Find();
    ASSERT_EQ(chips.size(), 1u);
    EXPECT_EQ(chips[0].state, AttachedChip::State::NoPermission);
    EXPECT_TRUE(EmptyListText(chips).contains("you may not open " + Dev() + "/001/006"));
    EXPECT_TRUE(EmptyListText(chips).contains("udev rule"));

    barredNodes.clear();
    chips = Find();
    EXPECT_EQ(chips[0].state, AttachedChip::State::Usable);
    MarkPanelsInUse(chips, {"QV826101.FF00"});
    EXPECT_EQ(chips[0].state, AttachedChip::State::Usable) << "listed: free";
    MarkPanelsInUse(chips, {});
    EXPECT_EQ(chips[0].state, AttachedChip::State::InUse);
    EXPECT_TRUE(EmptyListText(chips).contains("another program has it open"));
}

TEST_F(PanelDiagnosis, TheEmptyListSaysWhyAndAUsablePanelReplacesIt) {
    AddChip("1-1", "0403", "QUVO-8261-16", "QV826100.FFFF", 5, "ftdi_sio");
    main = std::make_unique<TFormMain>(SettingsFile());
    main->SetDiagnosisSources(Sysfs(), Dev());
    main->show();
    main->TimerTimer(false);
    EXPECT_TRUE(main->ShownEmptyListText().contains("kernel's serial driver holds it"));
    auto* saveReport = FindControl<QPushButton>(*main, "BtnSaveReport");
    EXPECT_TRUE(saveReport->isVisible());
    AddDefaultPanels();
    main->TimerTimer(true);
    EXPECT_EQ(int(main->ListedEntries().size()), 2);
    EXPECT_TRUE(main->ShownEmptyListText().isEmpty());
    EXPECT_FALSE(saveReport->isVisible());
}

// "Save report..." beside the advice writes the report the tool's --diagnose
// writes, with the program's last messages; a place that cannot take it is
// said, and a cancelled dialog writes nothing.
TEST_F(PanelDiagnosis, SaveReportWritesTheMachinesFactsWhereTheUserChooses) {
    KeepRecentMessages();
    AddChip("1-1", "0403", "QUVO-8261-16", "QV826100.FFFF", 6);
    barredNodes << Dev() + "/001/006";
    main = std::make_unique<TFormMain>(SettingsFile());
    main->SetDiagnosisSources(Sysfs(), Dev(),
                              [this](const QString& node) { return !barredNodes.contains(node); });
    main->SetBackEndWords("the virtual panels (asked for with --driver or --simulate)");
    main->show();
    main->TimerTimer(false);
    qWarning("a message before the report");
    std::optional<QString> chosen = usb.filePath("report.txt");
    std::vector<Dialogs::FileDialog> asked;
    Dialogs::SetFileChooser([&](Dialogs::FileDialog kind, const QString&) {
        asked.push_back(kind);
        return chosen;
    });
    FindControl<QPushButton>(*main, "BtnSaveReport")->click();
    ASSERT_EQ(asked, std::vector{Dialogs::FileDialog::SaveReport});
    QFile report(*chosen);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(report.readAll());
    for (const QString& fact :
         {QString("program: QUVO8261 "), QString("back-end: the virtual panels"),
          "you may not open " + Dev() + "/001/006", QString("a message before the report"),
          QString("user: ")}) {
        EXPECT_TRUE(text.contains(fact)) << fact.toStdString() << "\n" << text.toStdString();
    }
    EXPECT_TRUE(messages.empty());

    chosen = usb.filePath("no/such/folder/report.txt");
    FindControl<QPushButton>(*main, "BtnSaveReport")->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("no/such/folder")) << messages[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(*chosen));

    chosen.reset();
    FindControl<QPushButton>(*main, "BtnSaveReport")->click();
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(PanelDiagnosis, DiagnoseReportsAndExitsByUsablePanels) {
    AddChip("1-1", "0403", "QUVO-8261-16", "QV826100.FFFF", 5, "ftdi_sio");
    AddChip("1-4", "0403", "FT232R USB UART", "A1B2C3", 4);
    QString text;
    QTextStream out(&text);
    EXPECT_EQ(RunDiagnosis(out, Sysfs(), Dev(), [](const QString&) { return true; }), 1);
    out.flush();
    EXPECT_TRUE(text.contains("FTDI devices the driver library lists:\n  none"))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains("FT232R USB UART (A1B2C3) at " + Dev() + "/001/004 - not a QUVO-8261 panel"));
    EXPECT_TRUE(text.contains("kernel's serial driver holds it"));
    EXPECT_TRUE(text.endsWith("No usable QUVO-8261 panel.\n"));

    AddPanel(0x1121, "QV826100.FFFF", "QUVO-8261-16");
    text.clear();
    EXPECT_EQ(RunDiagnosis(out, Sysfs(), Dev(), [](const QString&) { return true; }), 0);
    out.flush();
    EXPECT_TRUE(
        text.contains("QUVO-8261-16  QV826100.FFFF  type 5  location 0x1121  - usable panel"))
        << text.toStdString();
}

} // namespace
