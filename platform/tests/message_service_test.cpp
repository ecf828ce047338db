#include "message_service.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(MessageService, DefaultWritesCaptionAndTextAndAnswersOkOrYes) {
    ASSERT_EQ(GetMessageService(), nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessage("Can't USB opened. Please board reset!", "Debugger"), MessageAnswer::Ok);
    EXPECT_EQ(ShowMessage("Save?", "Debugger", MessageButtons::OkCancel), MessageAnswer::Ok);
    EXPECT_EQ(ShowMessage("Open as image?", "Debugger", MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(ShowMessage("Reload?", "", MessageButtons::YesNoCancel), MessageAnswer::Yes);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Debugger: Can't USB opened. Please board reset!\n"
                   "Debugger: Save?\n"
                   "Debugger: Open as image?\n"
                   "Reload?\n");
}

TEST(MessageService, RecorderKeepsMessagesInOrderAndAnswersFromItsQueue) {
    RecordingMessageService recorder;
    EXPECT_EQ(GetMessageService(), &recorder);
    recorder.answers = {MessageAnswer::No, MessageAnswer::Cancel};

    EXPECT_EQ(ShowMessage("first", "A", MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(ShowMessage("second", "B", MessageButtons::YesNoCancel), MessageAnswer::Cancel);
    // Queue empty: Ok for plain messages, Yes for questions.
    EXPECT_EQ(ShowMessage("third"), MessageAnswer::Ok);
    EXPECT_EQ(ShowMessage("fourth", "D", MessageButtons::YesNo), MessageAnswer::Yes);

    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{"first", "second", "third", "fourth"}));
    ASSERT_EQ(recorder.shown.size(), 4u);
    EXPECT_EQ(recorder.shown[1].caption, "B");
    EXPECT_EQ(recorder.shown[1].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(recorder.shown[2].caption, "");
    EXPECT_EQ(recorder.shown[2].buttons, MessageButtons::Ok);
    EXPECT_TRUE(recorder.answers.empty());
}

TEST(MessageService, NestedRecordersRestoreThePreviousServiceOnDestruction) {
    {
        RecordingMessageService outer;
        {
            RecordingMessageService inner;
            ShowMessage("to inner");
            EXPECT_EQ(inner.Texts(), std::vector<std::string>{"to inner"});
        }
        EXPECT_EQ(GetMessageService(), &outer);
        ShowMessage("to outer");
        EXPECT_EQ(outer.Texts(), std::vector<std::string>{"to outer"});
    }
    EXPECT_EQ(GetMessageService(), nullptr);
}
