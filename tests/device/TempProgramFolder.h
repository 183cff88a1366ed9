#pragma once
// A program folder in a fresh temporary directory, made current with
// SetProgramFolder for the life of the object and removed afterwards.

#include "app/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kovrin::test {

class TempProgramFolder {
public:
    TempProgramFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kovrin-cat-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            root_ = pattern;
        }
        std::filesystem::create_directories(Program() + "layouts");
        SetProgramFolder(Program());
    }
    ~TempProgramFolder() {
        SetProgramFolder("");
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    // The temporary directory; the program folder is its subfolder "program".
    std::string Root() const { return root_ + "/"; }
    std::string Program() const { return root_ + "/program/"; }

    // Writes text to a path relative to the program folder.
    void Write(const std::string& relative, const std::string& text) const {
        const std::filesystem::path path = Program() + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    void WriteLayout(const std::string& name, const std::string& text) const {
        Write("layouts/" + name + ".xml", text);
    }

private:
    std::string root_;
};

inline constexpr const char* kXmlHeader = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

} // namespace kovrin::test
