// The panel test: one step of the script per tick of TimerTest, held while a
// configuration send waits for the panel's read-back.
#include "editor/UnitGPI.h"

#include "ui/Widgets.h"

#include <QTimer>

void TFormEdit::BuildTestScript() {
    ClearTestScript();
    TestSteps = std::make_unique<TestScript>(MakeTestScript(ChannelPresent));
}

void TFormEdit::ClearTestScript() {
    TestSteps.reset();
}

void TFormEdit::RunTestStep() {
    if (!TestSteps || TestSteps->empty()) {
        return;
    }
    TestStep step = std::move(TestSteps->front());
    TestSteps->pop_front();
    switch (step.Kind) {
    case TestStepKind::Pause:
        TestPause(step.Pause);
        break;
    case TestStepKind::SetGpio:
        deviceThread_->PostSetGpio(step.Channel, step.State != 0 ? 1 : 0);
        break;
    case TestStepKind::WriteConfig:
        ConfigReceived = false;
        deviceThread_->PostWriteConfig(step.Block);
        break;
    case TestStepKind::GpioOff:
        deviceThread_->PostGpioOff();
        break;
    }
}

void TFormEdit::BtnTestClick() {
    if (!Online) {
        return;
    }
    if (TimerTest->isActive()) {
        EndPanelTest();
        return;
    }
    BuildTestScript();
    TimerTest->start();
    BtnTest->SetCaption("STOP");
}

void TFormEdit::EndPanelTest() {
    const bool running = TimerTest->isActive();
    TimerTest->stop();
    BtnTest->SetCaption("TEST");
    // The script may have stopped between a press and its release.
    if (running && Online) {
        deviceThread_->PostGpioOff();
    }
}

void TFormEdit::TimerTestTimer() {
    TimerTest->stop();
    if (!TestSteps || TestSteps->empty()) {
        BtnTest->SetCaption("TEST");
        return;
    }
    if (!SendPending && ConfigReceived) {
        RunTestStep();
    }
    TimerTest->start();
}
