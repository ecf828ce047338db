#include "text_loader.h"

#include <algorithm>

#include "message_service.h"
#include "path_resolver.h"
#include "regular_file.h"

int g_bLoadError = 0;

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
    }
    return lines;
}

void Loader::AssignText(std::string name, std::string text) {
    m_strName = std::move(name);
    m_strPath.clear();
    m_strText = std::move(text);
    m_bFileOpen = true;
    m_lines.clear();
}

int LoadSourceFile(Loader& loader, const std::string& path, const std::string& baseDir) {
    if (path == kUnloadedStartupSource) {
        g_bLoadError = 1;
        return 0;
    }
    const std::string resolved = platform::ResolvePath(baseDir, path);
    std::string text;
    std::string why;
    const platform::FileReadStatus status = resolved.empty()
                                                ? platform::FileReadStatus::Missing
                                                : platform::ReadRegularFile(resolved, text, &why);
    if (status != platform::FileReadStatus::Read) {
        const bool missing = status == platform::FileReadStatus::Missing;
        std::string message = missing ? kCannotFindFileFormat : kCannotReadFileFormat;
        const size_t name = message.find("%s");
        message.replace(name, 2, path);
        if (!missing) message.replace(message.find("%s", name + path.size()), 2, why);
        platform::ShowMessage(message);
        g_bLoadError = 1;
        return 0;
    }
    loader.AssignText(platform::FileNameOf(path), std::move(text));
    loader.m_strPath = resolved;
    return 1;
}

int SplitTextLines(Loader& loader) {
    loader.m_lines.clear();
    if (!loader.m_bFileOpen || loader.m_strText.empty()) return 0;
    const std::vector<std::string_view> lines = SplitLines(loader.m_strText);
    loader.m_lines.resize(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        loader.m_lines[i].m_nLine = static_cast<uint32_t>(i + 1);
        loader.m_lines[i].m_strText.assign(lines[i]);
    }
    return 1;
}

void CloseLoaderFile(Loader& loader) {
    loader.m_bFileOpen = false;
}

void FreeTextLines(Loader& loader) {
    loader.m_lines.clear();
    loader.m_lines.shrink_to_fit();
}

const std::string* GetLineText(const Loader& loader, size_t index) {
    return index < loader.m_lines.size() ? &loader.m_lines[index].m_strText : nullptr;
}

TextFileLoader::TextFileLoader(const std::string& path, const std::string& baseDir) {
    if (LoadSourceFile(*this, path, baseDir)) SplitTextLines(*this);
}

int CreateSourceLoader(LSTLoader& listing, const std::string& path, const std::string& baseDir) {
    listing.m_pSourceLoader = std::make_shared<Loader>();
    LoadSourceFile(*listing.m_pSourceLoader, path, baseDir);
    return 1;
}

FirstLineRecord GetFirstLineRecord(const LSTLoader& listing, size_t index) {
    FirstLineRecord record;
    record.pSource = listing.m_pSourceLoader.get();
    if (!record.pSource || index >= record.pSource->m_lines.size()) return record;
    record.pLine = &record.pSource->m_lines[index];
    if (!record.pLine->m_instructions.empty())
        record.pInstruction = &record.pLine->m_instructions.front();
    return record;
}
