// Walking folders for object files.
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "collect_paths.h"
#include "inspect_fixtures.h"

namespace marrowick::inspect::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> PathsOf(const std::vector<PathEntry>& entries) {
    std::vector<std::string> paths;
    for (const PathEntry& entry : entries) {
        paths.push_back(entry.path);
    }
    return paths;
}

TEST(CollectPaths, WalksNestedFoldersInSortedOrderTakingIffInAnyCase) {
    Folder folder;
    for (const char* name :
         {"b/deep/er/z.IFF", "a.iff", "b/Y.Iff", "b/notes.txt", "b/iff", "b/x.iff.bak", "c.iFf"}) {
        folder.Write(name, Bytes{});
    }
    const std::string root = folder.Path();
    EXPECT_EQ(PathsOf(CollectPaths({root})),
              (std::vector<std::string>{root + "/a.iff", root + "/b/Y.Iff",
                                        root + "/b/deep/er/z.IFF", root + "/c.iFf"}));
    EXPECT_EQ(PathsOf(CollectPaths({root + "/"}))[0], root + "/a.iff");
}

TEST(CollectPaths, FilesAreTakenAsGivenAndArgumentsKeepTheirOrder) {
    Folder folder;
    folder.Write("dir/one.iff", Bytes{});
    const std::string named = folder.Write("named.dat", Bytes{});
    const std::string missing = folder.Path("missing.iff");
    const std::vector<PathEntry> entries = CollectPaths({named, folder.Path("dir"), missing});
    EXPECT_EQ(PathsOf(entries),
              (std::vector<std::string>{named, folder.Path("dir/one.iff"), missing}));
    // A missing file is left to the reader, which names it in its message.
    EXPECT_EQ(entries[2].error, "");
}

TEST(CollectPaths, LinksNeverMakeTheWalkLoopOrTakeAFileTwice) {
    Folder folder;
    folder.Write("tree/sub/one.iff", Bytes{});
    fs::create_directory_symlink(folder.Path("tree"), folder.Path("tree/sub/back_to_top"));
    fs::create_directory_symlink(folder.Path("tree/sub"), folder.Path("tree/again"));
    fs::create_symlink(folder.Path("tree/sub/one.iff"), folder.Path("tree/alias.iff"));
    const std::vector<PathEntry> entries = CollectPaths({folder.Path("tree")});
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, folder.Path("tree/sub/one.iff"));  // its own path, not a link's
    // The same folder given twice, or inside one already walked, adds nothing.
    EXPECT_EQ(
        CollectPaths({folder.Path("tree"), folder.Path("tree/sub"), folder.Path("tree")}).size(),
        1u);
}

TEST(CollectPaths, EntriesThatCannotBeReadAreListedWithTheirErrorInPlace) {
    Folder folder;
    folder.Write("a.iff", Bytes{});
    folder.Write("z.iff", Bytes{});
    fs::create_symlink(folder.Path("nowhere.iff"), folder.Path("m_dangling.iff"));
    fs::create_symlink(folder.Path("nowhere"), folder.Path("m_dangling_other"));
    const std::vector<PathEntry> entries = CollectPaths({folder.Path()});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].path, folder.Path("m_dangling.iff"));
    EXPECT_NE(entries[1].error.find(folder.Path("m_dangling.iff")), std::string::npos);
    EXPECT_NE(entries[1].error.find("No such file or directory"), std::string::npos);
}

TEST(CollectPaths, AFolderThatCannotBeOpenedIsReportedAndSkipped) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root can open any folder";
    }
    Folder folder;
    folder.Write("open/a.iff", Bytes{});
    folder.Write("shut/b.iff", Bytes{});
    ASSERT_EQ(::chmod(folder.Path("shut").c_str(), 0), 0);
    const std::vector<PathEntry> entries = CollectPaths({folder.Path()});
    ::chmod(folder.Path("shut").c_str(), 0700);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].path, folder.Path("shut"));
    EXPECT_NE(entries[1].error.find("Permission denied"), std::string::npos);
}

}  // namespace
}  // namespace marrowick::inspect::test
