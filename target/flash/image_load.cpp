#include "image_load.h"

#include "debugger_init.h"
#include "debugger_views.h"
#include "flash_packets.h"
#include "hex_image.h"
#include "host_memory.h"
#include "message_service.h"
#include "sleep.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "usb_link.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr unsigned kEraseSettleMs = 100;
constexpr unsigned kProgramSettleMs = 40;
constexpr uint32_t kBlankCheckBytes = 1024;

} // namespace

int VerifyImage() {
    auto image = std::make_unique<HexImage>();
    std::string error;
    if (ReadHexImage(g_strHexPath, *image, error) != HexReadResult::Ok) return 0;
    if (image->highestAddress < 0) return 1;
    const uint32_t count = uint32_t(image->highestAddress) + 1;
    std::vector<uint8_t> code(count, 0xFF);
    if (ReadMemory(0, code.data(), count, kSpaceCode) != int(count)) return 0;
    return std::equal(code.begin(), code.end(), image->bytes.begin()) ? 1 : 0;
}

int EraseCodeFlash() {
    g_bImageVerified = false;
    SendFlashPacket(SequenceResetPacket()); // the erase must start the chip's next sequence
    SendFlashPacket(ChipErasePacket());
    platform::Sleep(kEraseSettleMs);
    std::vector<uint8_t> blank(kBlankCheckBytes, 0xFF);
    if (ReadMemory(kFlashWindowBase, blank.data(), kBlankCheckBytes, kSpaceExternalData) !=
        int(kBlankCheckBytes))
        return 0;
    if (std::any_of(blank.begin(), blank.end(), [](uint8_t b) { return b != 0xFF; })) {
        platform::ShowMessage(kFlashEraseFailText);
        return 0;
    }
    return 1;
}

int ImageLoad(uint32_t imageSizeEstimate) {
    auto loaded = std::make_unique<HexImage>();
    const HexImage& image = *loaded;
    std::string error;
    switch (ReadHexImage(g_strHexPath, *loaded, error)) {
    case HexReadResult::CannotOpen:
        return 0;
    case HexReadResult::Malformed:
        platform::ShowMessage(error);
        return 0;
    case HexReadResult::Ok:
        break;
    }

    ResetLinkAndShortHandshake();
    if (!EraseCodeFlash()) return 0;

    const bool report = imageSizeEstimate != 0;
    uint64_t programmed = 0;
    for (const HexDataRecord& record : image.records) {
        SendFlashPacket(ProgramPacket(record.address, record.data.data(), record.data.size()));
        programmed += record.data.size();
        if (report && MainFrameExists())
            ReportProgress(int(double(programmed) / imageSizeEstimate * 70));
    }
    platform::Sleep(kProgramSettleMs);

    if (image.highestAddress >= 0) {
        const uint32_t count = uint32_t(image.highestAddress) + 1;
        std::vector<uint8_t> flash(count, 0xFF);
        if (ReadMemory(kFlashWindowBase, flash.data(), count, kSpaceExternalData) != int(count))
            return 0;
        for (uint32_t i = 0; i < count; ++i) {
            if (flash[i] != image.bytes[i]) {
                platform::ShowMessage(kFlashWriteFailText);
                return 0;
            }
            if (report && MainFrameExists())
                ReportProgress(int(70 + double(i + 1) / imageSizeEstimate * 30));
        }
    }

    platform::ShowMessage(kFlashWriteOkText);
    ShowTargetPcAndRefresh();
    return 1;
}
