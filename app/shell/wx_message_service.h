// Message boxes of the code below the user interface, shown as dialogs.
#pragma once

#include "message_service.h"

class WxMessageService : public platform::MessageService {
public:
    platform::MessageAnswer Show(const std::string& text, const std::string& caption,
                                 platform::MessageButtons buttons) override;
};
