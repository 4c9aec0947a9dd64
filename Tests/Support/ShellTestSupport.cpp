// The shell fixture.
#include "ShellTestSupport.h"

#include "Shell/AppleEvents.h"
#include "Platform/DialogManager.h"
#include "Shell/DocumentWindow.h"
#include "Model/ElementLists.h"
#include "Platform/Menus.h"
#include "Model/NewDocument.h"
#include "Shell/StartupShutdown.h"
#include "Model/UndoJournal.h"
#include "Files/Preferences.h"
#include "Dialogs/Palettes.h"

void ShellTest::SetUp() {
    GuiTest::SetUp();
    ClearRecordedAlerts();
    InitApplication();
    StartMenuBarHost();
    BeginEventLoop();
    // New drawings start empty here; the title block asked for on New has tests of its own.
    GeneralPrefs.titleBlockForNewDrawings = 0;
}

void ShellTest::TearDown() {
    SetAlertResponder(nullptr);
    while (OpenDocumentList != nullptr)
        DisposeDocumentWindow(OpenDocumentList);
    DisposePalettes();
    StopMenuBarHost();
    ReleaseApplication();
    ClearRecordedAlerts();
    QuitFlag = false;
    GuiTest::TearDown();
}

void ShellTest::RunLoop() {
    RunUntilIdle(EventLoopPass);
}

void ShellTest::RunPasses(int count) {
    for (int i = 0; i < count; ++i)
        EventLoopPass();
}

DocWindowRecord* ShellTest::NewFromMenu() {
    EXPECT_TRUE(ChooseMenuItem(198, 1));
    RunLoop();
    return FrontDocument();
}

void ShellTest::QueueCommandKey(UInt8 keyCode, char character, UInt16 extraModifiers) {
    QueueKey(keyCode, UInt8(character), UInt16(cmdKey | extraModifiers));
}

void ShellTest::AddUndoableLine(DocWindowRecord* doc, Float64 x) {
    BeginUndoStep(doc);
    AddLine(doc, x, 0.0, x + 10.0, 10.0);
    EndUndoStep(doc);
}
