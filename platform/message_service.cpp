#include "message_service.h"

#include <atomic>
#include <iostream>

namespace platform {

namespace {

// Read from any thread; written by the application at start and by tests.
std::atomic<MessageService*> g_service{nullptr};

bool IsQuestion(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel;
}

MessageAnswer DefaultAnswer(MessageButtons buttons) {
    return IsQuestion(buttons) ? MessageAnswer::Yes : MessageAnswer::Ok;
}

} // namespace

void SetMessageService(MessageService* service) {
    g_service.store(service);
}

MessageService* GetMessageService() {
    return g_service.load();
}

MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                          MessageButtons buttons) {
    if (MessageService* service = g_service.load()) return service->Show(text, caption, buttons);
    if (caption.empty())
        std::cerr << text << std::endl;
    else
        std::cerr << caption << ": " << text << std::endl;
    return DefaultAnswer(buttons);
}

RecordingMessageService::RecordingMessageService() : previous_(GetMessageService()) {
    SetMessageService(this);
}

RecordingMessageService::~RecordingMessageService() {
    SetMessageService(previous_);
}

MessageAnswer RecordingMessageService::Show(const std::string& text, const std::string& caption,
                                            MessageButtons buttons) {
    shown.push_back({text, caption, buttons});
    if (answers.empty()) return DefaultAnswer(buttons);
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<std::string> RecordingMessageService::Texts() const {
    std::vector<std::string> texts;
    texts.reserve(shown.size());
    for (const Shown& s : shown)
        texts.push_back(s.text);
    return texts;
}

} // namespace platform
