// The loaded linker map with what its readers make of it: the module records
// and the line records of every module.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "file_faults.h"
#include "line_records.h"
#include "symbol_records.h"
#include "text_loader.h"

class MapLoader : public Loader {
public:
    MapLoader() = default;
    // Loads and splits the map at `path` (resolved against `baseDir`).
    explicit MapLoader(const std::string& path, const std::string& baseDir = ".");

    // Module records (type name "MODULE") in map order, each with copies of
    // the module's symbols as children.
    std::vector<std::unique_ptr<SymbolInfo>> m_listModules;
    // The project's listings, the last loaded first; not owned.
    std::list<LSTLoader*> m_listLstLoaders;
    // Module name -> that module's line records. A later module of the same
    // name takes the entry; every record made stays alive with the loader.
    std::unordered_map<std::string, CLineInfoInModule*> m_mapModuleLines;
    // Module name -> the project's source file of that module ("MAIN.C51",
    // "START900.A51"), set before the map is read: the source positions of
    // these modules name that file. Other modules are named as the map
    // suggests (module + ".C", a start-up module's ".A51" file, or "NONE").
    std::unordered_map<std::string, std::string> m_mapModuleSources;
    std::vector<std::unique_ptr<CLineInfoInModule>> m_moduleLineRecords;
    // The lines the readers refused, and whether the map was cut short.
    FileFaults m_faults;
};

// Makes an empty line-record list for a module and enters it under `name`.
CLineInfoInModule* AddModuleLineInfo(MapLoader& loader, const std::string& name);

// The line records of a module; null when the map has no module of that name.
CLineInfoInModule* FindModuleLineInfo(const MapLoader& loader, const std::string& name);

// Frees the module records with their children.
void FreeModuleRecords(MapLoader& loader);
