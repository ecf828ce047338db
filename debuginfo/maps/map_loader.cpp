#include "map_loader.h"

MapLoader::MapLoader(const std::string& path, const std::string& baseDir) {
    if (LoadSourceFile(*this, path, baseDir)) SplitTextLines(*this);
}

CLineInfoInModule* AddModuleLineInfo(MapLoader& loader, const std::string& name) {
    loader.m_moduleLineRecords.push_back(std::make_unique<CLineInfoInModule>(name));
    CLineInfoInModule* lines = loader.m_moduleLineRecords.back().get();
    loader.m_mapModuleLines[name] = lines;
    return lines;
}

CLineInfoInModule* FindModuleLineInfo(const MapLoader& loader, const std::string& name) {
    auto it = loader.m_mapModuleLines.find(name);
    return it == loader.m_mapModuleLines.end() ? nullptr : it->second;
}

void FreeModuleRecords(MapLoader& loader) {
    loader.m_listModules.clear();
}
