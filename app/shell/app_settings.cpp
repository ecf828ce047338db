#include "app_settings.h"

#include "command_ids.h"
#include "command_rules.h"

#include <wx/config.h>
#include <wx/filefn.h>

const char* const kSettingsKey = "Local Application Program";

namespace {

const char* const kLayoutEntry = "/Workspace/Layout";

wxConfigBase* Settings() {
    return wxConfigBase::Get(false);
}

std::vector<std::string> ReadStringList(const char* countKey, const char* entryFormat) {
    wxConfigBase* config = Settings();
    if (!config) return {};
    long count = config->ReadLong(wxString("/EDIT/") + countKey, 0);
    return ReadHistory(count, [config, entryFormat](int i) {
        wxString key = wxString("/EDIT/") + wxString::Format(entryFormat, i);
        return config->Read(key, wxString()).ToStdString(wxConvUTF8);
    });
}

} // namespace

void OpenSettings() {
    if (wxConfigBase::Get(false)) return;
    wxConfigBase::Set(new wxConfig(kSettingsKey));
}

void CloseSettings() {
    delete wxConfigBase::Set(nullptr);
}

std::string ReadInstallDir() {
    wxConfigBase* config = Settings();
    if (!config) return {};
    return config->Read("/CurrentDir/INSTALLDIR", wxString()).ToStdString(wxConvUTF8);
}

std::string ApplyInstallDir() {
    std::string stored = ReadInstallDir();
    if (stored.empty()) return {};
    std::string dir = WorkingDirFromInstallDir(stored);
    if (!dir.empty()) wxSetWorkingDirectory(wxString::FromUTF8(dir));
    return dir;
}

std::vector<std::string> ReadFindHistory() {
    return ReadStringList("FINDSTRINGCOUNT", "FINDSTRING%d");
}

std::vector<std::string> ReadReplaceHistory() {
    return ReadStringList("REPLACESTRINGCOUNT", "REPLACESTRING%d");
}

int ReadApplicationLook() {
    wxConfigBase* config = Settings();
    if (!config) return cmd::kDefaultLook;
    long look = config->ReadLong("/ApplicationLook", cmd::kDefaultLook);
    if (look < cmd::kFirstLook || look > cmd::kLastLook) return cmd::kDefaultLook;
    return static_cast<int>(look);
}

void WriteApplicationLook(int look) {
    wxConfigBase* config = Settings();
    if (!config) return;
    config->Write("/ApplicationLook", static_cast<long>(look));
    config->Flush();
}

std::string ReadDockingLayout() {
    wxConfigBase* config = Settings();
    if (!config) return {};
    return config->Read(kLayoutEntry, wxString()).ToStdString(wxConvUTF8);
}

void WriteDockingLayout(const std::string& layout) {
    wxConfigBase* config = Settings();
    if (!config) return;
    config->Write(kLayoutEntry, wxString::FromUTF8(layout));
    config->Flush();
}
