#pragma once
// Helpers shared by the store tests: a throw-away data folder and a second,
// independent SQLite connection for looking into a file behind the store.

#include "store/KeyboardDatabase.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kovrin::test {

// A fresh data folder with its db/ folder; removed with everything in it.
class TempDataFolder {
public:
    TempDataFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kovrin-store-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot create a temporary folder";
        }
        root_ = pattern + "/";
        std::filesystem::create_directories(root_ + "db");
    }
    ~TempDataFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempDataFolder(const TempDataFolder&) = delete;
    TempDataFolder& operator=(const TempDataFolder&) = delete;

    const std::string& path() const { return root_; }
    std::string DbFile(const std::string& model) const {
        return root_ + "db/" + model + "_data_v1.db";
    }
    std::vector<std::string> DbFolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root_ + "db")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string root_;
};

using Rows = std::vector<std::vector<std::string>>;

// Another connection to a database file, for checks the store cannot make.
class RawDb {
public:
    explicit RawDb(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << "cannot open " << path;
        }
        sqlite3_busy_timeout(db_, 5000);
    }
    ~RawDb() { sqlite3_close_v2(db_); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    // Every row of the query, NULL as "<null>"; an error adds a failure.
    Rows Query(const std::string& sql) {
        Rows rows;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
            return rows;
        }
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            auto& row = rows.emplace_back();
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto* text = sqlite3_column_text(stmt, i);
                row.push_back(text ? reinterpret_cast<const char*>(text) : "<null>");
            }
        }
        if (rc != SQLITE_DONE) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
        }
        sqlite3_finalize(stmt);
        return rows;
    }
    std::string Value(const std::string& sql) {
        const Rows rows = Query(sql);
        return rows.empty() || rows[0].empty() ? "" : rows[0][0];
    }
    void Exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << (error ? error : "");
        }
        sqlite3_free(error);
    }

private:
    sqlite3* db_ = nullptr;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A store connected to model "Model" in a fresh folder.
class OpenStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(store.Open(folder.path(), "Model")) << store.LastError(); }
    std::string File() const { return folder.DbFile("Model"); }

    TempDataFolder folder;
    KeyboardDatabase store;
};

} // namespace kovrin::test
