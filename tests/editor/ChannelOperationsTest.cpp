// SPDX-License-Identifier: Apache-2.0
#include "tests/support/WindowsFixture.h"
#include "ui/ColourButton.h"
#include "ui/DurationField.h"
#include "ui/FindControl.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTest>

namespace {

using ChannelOperations = WindowsFixture;

std::uint8_t Field(const ConfigBlock& block, int channel, std::size_t field) {
    return block[RecordOffset(channel) + field];
}

TEST_F(ChannelOperations, ModeButtonsSendAndTheTimerPaintsThem) {
    WithPanel16Online([&] {
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnFix", 4), Qt::LeftButton);
        ASSERT_TRUE(WaitSendsAnswered());
        auto blocks = WrittenBlocks(*panel16);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(Field(blocks[0], 4, RecordMODE), ModeFixed);
        EXPECT_EQ(Field(blocks[0], 3, RecordMODE), ModeFree);
        EXPECT_TRUE(WaitFor([&] {
            return FindControl<ColourButton>(*editor, "BtnFix", 4)->FaceColour() == 0x00DDFFDDu;
        }));
        EXPECT_EQ(FindControl<ColourButton>(*editor, "BtnAny", 4)->FaceColour(), 0x00EDEDEDu);
        EXPECT_FALSE(FindControl<ColourButton>(*editor, "BtnAny", 4)->isChecked());

        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnFix", 4), Qt::LeftButton);
        ASSERT_TRUE(WaitSendsAnswered());
        blocks = WrittenBlocks(*panel16);
        ASSERT_EQ(blocks.size(), 2u) << "the button already down sends again";
        EXPECT_EQ(blocks[1], blocks[0]);

        // Pulse, one page up, then Free: the field is disabled but keeps its value.
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnPls", 6), Qt::LeftButton);
        ASSERT_TRUE(
            WaitFor([&] { return FindControl<DurationField>(*editor, "EditMs", 6)->isEnabled(); }));
        ASSERT_TRUE(WaitSendsAnswered());
        QTest::keyClick(FindControl<DurationField>(*editor, "EditMs", 6), Qt::Key_PageUp);
        ASSERT_TRUE(WaitSendsAnswered());
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnAny", 6), Qt::LeftButton);
        EXPECT_TRUE(WaitFor(
            [&] { return !FindControl<DurationField>(*editor, "EditMs", 6)->isEnabled(); }));
        ASSERT_TRUE(WaitSendsAnswered());
        blocks = WrittenBlocks(*panel16);
        EXPECT_EQ(Field(blocks.back(), 6, RecordMODE), ModeFree);
        EXPECT_EQ(Field(blocks.back(), 6, RecordDURATION), 8);
        EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 6)->text(), "0.8");
    });
}

TEST_F(ChannelOperations, DurationStepsAreClampedAndEachOneSends) {
    WithPanel16Online([&] {
        DurationField* field = FindControl<DurationField>(*editor, "EditMs", 2);
        QTest::mouseClick(FindControl<ColourButton>(*editor, "BtnPls", 2), Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return field->isEnabled(); }));
        ASSERT_TRUE(WaitSendsAnswered());
        field->SetValue(1.8);
        struct Step {
            std::function<void()> act;
            int sent;
        };
        const Step steps[] = {
            {[&] { QTest::keyClick(field, Qt::Key_PageUp); }, 20},
            {[&] { QTest::keyClick(field, Qt::Key_PageUp); }, 20},
            {[&] { QTest::keyClick(field, Qt::Key_Up); }, 20},
            {[&] { QTest::keyClick(field, Qt::Key_Down); }, 19},
            {[&] {
                 QWheelEvent wheel(QPointF(5, 5), field->mapToGlobal(QPointF(5, 5)), {},
                                   QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                                   Qt::NoScrollPhase, false);
                 QApplication::sendEvent(field, &wheel);
             },
             14},
            {[&] {
                 for (int i = 0; i < 16; ++i) {
                     QTest::keyClick(field, Qt::Key_Down);
                 }
             },
             1},
        };
        for (const Step& step : steps) {
            panel16->ClearReceivedFrames();
            step.act();
            ASSERT_TRUE(WaitSendsAnswered());
            Settle(20);
            const auto blocks = WrittenBlocks(*panel16);
            ASSERT_FALSE(blocks.empty());
            EXPECT_EQ(Field(blocks.back(), 2, RecordDURATION), step.sent);
        }
        QTest::keyClicks(field, "7");
        EXPECT_EQ(field->text(), "0.1") << "no typing";

        // Values outside the field's range show clamped and go back clamped.
        ConfigBlock block = panel16->Configuration();
        block[RecordOffset(2) + RecordDURATION] = 0;
        block[RecordOffset(3) + RecordDURATION] = 30;
        editor->ApplyConfiguration(block);
        EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 2)->text(), "0.1");
        EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 3)->text(), "2.0");
        panel16->ClearReceivedFrames();
        editor->SendConfiguration();
        ASSERT_TRUE(WaitSendsAnswered());
        const auto blocks = WrittenBlocks(*panel16);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(Field(blocks[0], 2, RecordDURATION), 1);
        EXPECT_EQ(Field(blocks[0], 3, RecordDURATION), 20);
    });
}

TEST_F(ChannelOperations, GroupChoiceSendsProgramChangesDoNot) {
    WithPanel16Online([&] {
        FindControl<QComboBox>(*editor, "BoxGrp", 7)->setCurrentIndex(9);
        Settle(30);
        EXPECT_TRUE(WrittenBlocks(*panel16).empty());
        FindControl<QComboBox>(*editor, "BoxGrp", 7)->activated(9);
        ASSERT_TRUE(WaitSendsAnswered());
        const auto blocks = WrittenBlocks(*panel16);
        ASSERT_EQ(blocks.size(), 1u);
        EXPECT_EQ(Field(blocks[0], 7, RecordGROUP), 9);
    });
}

class Propagation : public WindowsFixture {
protected:
    void OpenModeMenu(ColourButton* button) {
        emit button->customContextMenuRequested(QPoint(5, 5));
        FindControl<QMenu>(*editor, "MMenu")->hide();
    }
    void OpenDurationMenu(DurationField* field) {
        emit field->customContextMenuRequested(QPoint(5, 5));
        FindControl<QMenu>(*editor, "DMenu")->hide();
    }
    std::vector<int> ChannelsInMode(int mode) {
        std::vector<int> channels;
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            ColourButton* buttons[] = {FindControl<ColourButton>(*editor, "BtnAny", channel),
                                       FindControl<ColourButton>(*editor, "BtnFix", channel),
                                       FindControl<ColourButton>(*editor, "BtnPls", channel)};
            if (buttons[mode]->isChecked()) {
                channels.push_back(channel);
            }
        }
        return channels;
    }
    // Runs one menu action and checks that it wrote exactly one block.
    ConfigBlock OneSend(QAction* item) {
        panel16->ClearReceivedFrames();
        item->trigger();
        EXPECT_TRUE(WaitSendsAnswered());
        Settle(20);
        const auto blocks = WrittenBlocks(*panel16);
        EXPECT_EQ(blocks.size(), 1u);
        return blocks.empty() ? ConfigBlock{} : blocks.back();
    }
};

TEST_F(Propagation, ModeMenuToAllAndToTheSameGroup) {
    AddDefaultPanels();
    ConfigBlock block;
    LoadFactoryValues(block);
    for (int channel : {1, 2, 5}) {
        block[RecordOffset(channel) + RecordGROUP] = 3;
    }
    panel16->SetConfiguration(block);
    panel8->SetConfiguration(block);
    WithEditorOnline(1, [&] {
        panel16 = panel8;
        OpenModeMenu(FindControl<ColourButton>(*editor, "BtnPls", 2));
        EXPECT_EQ(Item("MMenuCA")->text(), "set Pulse mode -> All");
        EXPECT_EQ(Item("MMenuCG")->text(), "set Pulse mode -> Same Group");
        ConfigBlock sent = OneSend(Item("MMenuCG"));
        EXPECT_EQ(ChannelsInMode(ModePulse), (std::vector{1, 2, 5}));
        EXPECT_EQ(Field(sent, 5, RecordMODE), ModePulse);

        OpenModeMenu(FindControl<ColourButton>(*editor, "BtnFix", 4));
        sent = OneSend(Item("MMenuCG"));
        EXPECT_EQ(ChannelsInMode(ModeFixed),
                  (std::vector{3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
        EXPECT_EQ(Field(sent, 16, RecordMODE), ModeFixed) << "hidden strips travel";

        OpenModeMenu(FindControl<ColourButton>(*editor, "BtnFix", 1));
        EXPECT_EQ(Item("MMenuCA")->text(), "set Fixed mode -> All");
        sent = OneSend(Item("MMenuCA"));
        EXPECT_EQ(ChannelsInMode(ModeFixed).size(), 16u);
        for (int channel = 1; channel <= ChannelCount; ++channel) {
            EXPECT_EQ(Field(sent, channel, RecordMODE), ModeFixed);
        }
        editor->reject();
    });
}

TEST_F(Propagation, DurationMenuReachesOnlyPulseChannels) {
    WithPanel16Online([&] {
        for (int channel : {2, 3, 9}) {
            FindControl<ColourButton>(*editor, "BtnPls", channel)->click();
            ASSERT_TRUE(WaitSendsAnswered());
        }
        for (int channel : {3, 9}) {
            QComboBox* group = FindControl<QComboBox>(*editor, "BoxGrp", channel);
            group->setCurrentIndex(4);
            emit group->activated(4);
            ASSERT_TRUE(WaitSendsAnswered());
        }
        DurationField* source = FindControl<DurationField>(*editor, "EditMs", 3);
        source->SetValue(1.5);
        editor->Strip(3).EditMs1ButtonClick();
        ASSERT_TRUE(WaitSendsAnswered());
        OpenDurationMenu(source);
        EXPECT_EQ(Item("DMenuCA")->text(), "set Duration = 1.5 sec. -> All");
        EXPECT_EQ(Item("DMenuCG")->text(), "set Duration = 1.5 sec. -> Same Group");
        ConfigBlock sent = OneSend(Item("DMenuCG"));
        EXPECT_EQ(Field(sent, 9, RecordDURATION), 15);
        EXPECT_EQ(Field(sent, 2, RecordDURATION), 3) << "another group";
        EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 9)->text(), "1.5");

        sent = OneSend(Item("DMenuCA"));
        EXPECT_EQ(Field(sent, 2, RecordDURATION), 15);
        EXPECT_EQ(Field(sent, 1, RecordDURATION), 3) << "not in Pulse mode";
        EXPECT_EQ(FindControl<DurationField>(*editor, "EditMs", 1)->text(), "0.3");
    });
}

} // namespace
