#include "app/Paths.h"
#include "app/ctl/CtlCommand.h"
#include "store/KeyboardDatabase.h"

#include <ostream>

namespace kovrin::ctl {

// kovrinctl db path MODEL | db init MODEL
int RunDb(CtlContext& context) {
    const auto& args = context.args;
    if (args.size() != 2 || (args[0] != "path" && args[0] != "init")) {
        context.err << "usage: kovrinctl db path MODEL | kovrinctl db init MODEL\n";
        return 2;
    }
    const std::string& model = args[1];
    const std::string data_folder = DataFolder();
    const auto path = KeyboardDatabase::FilePath(data_folder, model);
    if (!path) {
        context.err << "kovrinctl db: the model name \"" << model
                    << "\" cannot name a database file\n";
        return 1;
    }
    if (args[0] == "init") {
        // The program creates this folder when it starts; do the same here.
        EnsureFolder(DatabaseFolder());
        KeyboardDatabase database;
        if (!database.Open(data_folder, model)) {
            context.err << "kovrinctl db: " << database.LastError() << '\n';
            return 1;
        }
        database.Close();
    }
    context.out << *path << '\n';
    return 0;
}

} // namespace kovrin::ctl
