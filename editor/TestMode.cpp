// SPDX-License-Identifier: Apache-2.0
// The panel test: one step of the script per tick of TimerTest, held while a
// configuration send waits for the panel's read-back.
#include "editor/UnitGPI.h"

#include <QTimer>

void TFormEdit::RunTestStep(const TestStep& step) {
    switch (step.Kind) {
    case TestStepKind::Pause:
        testPause_(step.Pause);
        break;
    case TestStepKind::SetGpio:
        deviceThread_->PostSetGpio(step.Channel, step.State != 0 ? 1 : 0);
        break;
    case TestStepKind::WriteConfig:
        deviceThread_->PostWriteConfig(step.Block);
        break;
    case TestStepKind::GpioOff:
        deviceThread_->PostGpioOff();
        break;
    }
}

void TFormEdit::BtnTestClick() {
    if (model_.TestRunning()) {
        FinishPanelTest();
        return;
    }
    if (!model_.StartTest()) {
        return;
    }
    TimerTest->start();
    ShowMode();
}

void TFormEdit::EndPanelTest() {
    TimerTest->stop();
    // The script may have stopped between a press and its release, and an edit
    // made during the test may have switched an output on.
    if (model_.Online()) {
        deviceThread_->PostGpioOff();
    }
}

void TFormEdit::FinishPanelTest() {
    if (!model_.TestRunning()) {
        return;
    }
    model_.EndTest();
    EndPanelTest();
    ShowMode();
    OfferConfigurationBeforeTest();
}

void TFormEdit::TimerTestTimer() {
    TimerTest->stop();
    if (model_.TestStepsLeft() == 0) {
        FinishPanelTest();
        return;
    }
    if (const std::optional<TestStep> step = model_.NextTestStep()) {
        RunTestStep(*step);
    }
    TimerTest->start();
}
