// A headless document for the model's tests: made with NewDocument, every open document freed and
// the hooks and alert responder cleared at the end, so shuffled tests leave nothing behind.
#pragma once

#include "Platform/DialogManager.h"
#include "Model/DocumentHooks.h"
#include "Model/ElementLists.h"
#include "Model/NewDocument.h"

#include <gtest/gtest.h>

class DocumentTest : public ::testing::Test {
  protected:
    DocWindowRecord* doc = nullptr;

    void SetUp() override {
        gDocumentHooks = DocumentHooks{};
        ClearRecordedAlerts();
        ASSERT_TRUE(NewDocument(&doc, nullptr, 0));
    }
    void TearDown() override {
        while (OpenDocumentList != nullptr)
            DisposeDocumentRecords(OpenDocumentList);
        gDocumentHooks = DocumentHooks{};
        SetAlertResponder(nullptr);
        ClearRecordedAlerts();
    }

    int CountLines() const {
        int n = 0;
        for (LineRecord* e = doc->lineHead->next; e != nullptr; e = e->next)
            ++n;
        return n;
    }
};
