#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The folders bottom to top; folders of one rank are siblings and do not include each other.
const std::map<std::string, int>& ranks() {
    static const std::map<std::string, int> table = {
        {"platform", 0}, {"base", 1},    {"skins", 2},  {"cd", 2},      {"lyrics", 2},
        {"viewers", 2},  {"library", 3}, {"player", 4}, {"desktop", 5}, {"app", 6},
    };
    return table;
}
constexpr int kTop = 7;  // benchmarks, tools and the whole-program tests may use everything

std::optional<int> rankOf(const std::string& folder) {
    const auto it = ranks().find(folder);
    return it == ranks().end() ? std::nullopt : std::optional<int>(it->second);
}

std::vector<std::string> parts(const std::string& path) {
    std::vector<std::string> out;
    for (const auto& p : fs::path(path)) {
        out.push_back(p.string());
    }
    return out;
}

// The layer a file of the tree belongs to: its folder's, a test folder's tested folder, or the
// top for what sits above the program. Nothing for files outside the layers.
std::optional<int> layerOfFile(const std::string& relative) {
    const auto p = parts(relative);
    if (p.size() < 2) {
        return std::nullopt;
    }
    if (p[0] == "tests") {
        if (p.size() < 3) {
            return std::nullopt;
        }
        if (p[1] == "support") {
            return 0;
        }
        const auto tested = rankOf(p[1]);
        return tested ? tested : std::optional<int>(kTop);
    }
    if (p[0] == "bench" || p[0] == "tools") {
        return kTop;
    }
    return rankOf(p[0]);
}

// Whether a file may include `target` (the text between the quotes). Includes of other
// libraries' headers and of files in the same folder carry no folder of ours and always pass.
bool allowed(const std::string& file, const std::string& target) {
    const auto fileParts = parts(file);
    const auto targetParts = parts(target);
    const auto fileLayer = layerOfFile(file);
    if (!fileLayer || targetParts.size() < 2) {
        return true;
    }
    std::string targetFolder = targetParts[0];
    std::optional<int> targetLayer;
    if (targetFolder == "tests") {
        targetLayer = layerOfFile(target);
        // A test folder's helpers serve that folder and the ones above it.
        if (!targetLayer) {
            return true;
        }
        if (fileParts[0] == "tests" && targetParts[1] == fileParts[1]) {
            return true;
        }
        return *targetLayer < *fileLayer || targetParts[1] == "support";
    }
    targetLayer = rankOf(targetFolder);
    if (!targetLayer) {
        return true;
    }
    // The test support code serves every folder's tests and sits on the platform layer.
    std::string fileFolder = fileParts[0] == "tests" ? fileParts[1] : fileParts[0];
    if (fileFolder == "support") {
        fileFolder = "platform";
    }
    return targetFolder == fileFolder || *targetLayer < *fileLayer;
}

struct Violation {
    std::string file;
    int line;
    std::string target;
};

std::vector<Violation> scanTree(const fs::path& root) {
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<Violation> found;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const fs::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && (name == "build" || name.front() == '.')) {
            it.disable_recursion_pending();  // build output and version control are not ours
            continue;
        }
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) {
            continue;
        }
        const std::string relative = fs::relative(entry.path(), root).generic_string();
        std::ifstream in(entry.path());
        std::string text;
        int number = 0;
        while (std::getline(in, text)) {
            ++number;
            std::smatch m;
            if (std::regex_search(text, m, include) && !allowed(relative, m[1].str())) {
                found.push_back({relative, number, m[1].str()});
            }
        }
    }
    return found;
}

TEST(Layout, TheRuleAllowsDownwardAndOwnFolderOnly) {
    struct Case {
        const char* file;
        const char* target;
        bool ok;
    };
    const Case cases[] = {
        {"library/Musikform.cpp", "library/Musikform.h", true},
        {"library/Musikform.cpp", "base/Catalogue.h", true},
        {"library/Musikform.cpp", "platform/Prompts.h", true},
        {"library/CollectionEditor.cpp", "player/PlaybackEngine.h", false},
        {"base/Catalogue.cpp", "skins/SkinLoader.h", false},
        {"skins/SkinLoader.cpp", "cd/CdBase.h", false},  // siblings
        {"player/PlaybackEngine.cpp", "library/ArchiveAccess.h", true},
        {"platform/IniFile.cpp", "base/Settings.h", false},
        {"app/Marlo.cpp", "player/PlaybackEngine.h", true},
        {"app/main.cpp", "desktop/SingleInstance.h", true},
        {"desktop/Mpris.cpp", "player/DisplayModel.h", true},
        {"desktop/Mpris.cpp", "app/Marlo.h", false},
        {"platform/media/MpvPlayer.cpp", "mpv/client.h", true},
        {"tests/library/AddFilesTest.cpp", "tests/library/LibraryFixture.h", true},
        {"tests/library/AddFilesTest.cpp", "tests/support/TestFolders.h", true},
        {"tests/library/AddFilesTest.cpp", "player/PlaybackEngine.h", false},
        {"tests/player/MusikformFixture.h", "tests/library/LibraryFixture.h", true},
        {"tests/library/X.cpp", "tests/player/EngineFixture.h", false},
        {"tests/platform/ZipStoreTest.cpp", "base/Catalogue.h", false},
        {"tests/e2e/SkinE2eTest.cpp", "skins/SkinRegister.h", true},
        {"tests/support/TestFolders.h", "platform/ProgramFolders.h", true},
        {"tests/support/TestFolders.h", "base/Settings.h", false},
        {"bench/startup_bench.cpp", "app/Marlo.h", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(allowed(c.file, c.target), c.ok) << c.file << " -> " << c.target;
    }
}

TEST(Layout, EveryIncludeOfTheTreePointsDownOrIntoItsOwnFolder) {
    const auto violations = scanTree(MARLO_SOURCE_DIR);
    for (const Violation& v : violations) {
        ADD_FAILURE() << v.file << ":" << v.line << ": includes \"" << v.target
                      << "\", a folder above or beside its own";
    }
    EXPECT_TRUE(violations.empty());
}

}  // namespace
