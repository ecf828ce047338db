// Message boxes without a window system.
//
// Code below the user interface reports to the user through ShowMessage();
// the application installs a service that shows real dialogs, tests install
// a recorder that keeps every message and answers questions from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace platform {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer Show(const std::string& text, const std::string& caption,
                               MessageButtons buttons) = 0;
};

// Installs the service used by ShowMessage (nullptr restores the default,
// which writes the text to standard error and answers Ok, or Yes for questions).
void SetMessageService(MessageService* service);
MessageService* GetMessageService();

// Shows one message through the installed service and returns the answer.
MessageAnswer ShowMessage(const std::string& text, const std::string& caption = std::string(),
                          MessageButtons buttons = MessageButtons::Ok);

// A service for tests: remembers every message and answers from a queue
// (Ok, or Yes for a question, when the queue is empty). Install it for the
// lifetime of the object.
class RecordingMessageService : public MessageService {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageButtons buttons;
    };
    RecordingMessageService();
    ~RecordingMessageService() override;
    MessageAnswer Show(const std::string& text, const std::string& caption,
                       MessageButtons buttons) override;

    std::vector<Shown> shown;
    std::deque<MessageAnswer> answers;
    std::vector<std::string> Texts() const;

private:
    MessageService* previous_;
};

} // namespace platform
