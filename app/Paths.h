#pragma once
// The program's places. Folder getters return a new string each time, ending
// in '/'.

#include <string>
#include <string_view>

namespace kovrin {

// Folder of the program file, or $KOVRIN_PROGRAM_DIR, or the override set
// with SetProgramFolder (kovrinctl --program-dir); in that order of priority:
// override, environment, executable.
std::string ProgramFolder();
void SetProgramFolder(std::string_view folder);

std::string ConfigFilePath();           // <program>/config.xml
std::string LanguageFilePath(int lcid); // <program>/language/<lcid>.lan
std::string LayoutsFolder();            // <program>/layouts/
std::string SkinFolder();               // <program>/skins/theme1/
std::string FirmwareFolder();           // <program>/firmware/

// $XDG_DATA_HOME (default ~/.local/share) + "/<device name> Files/".
std::string DataFolder();
std::string DatabaseFolder(); // DataFolder() + "db/"

// $XDG_CONFIG_HOME (default ~/.config) + "/<device name>/".
std::string ConfigFolder();

// Creates the folder and its missing parents. True only when a directory
// exists at the path at the end; a file at the path gives false.
bool EnsureFolder(const std::string& path);

} // namespace kovrin
