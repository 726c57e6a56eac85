// A sparse object file of several gigabytes whose resource map lies as far into
// it as a 32-bit offset reaches: the reader touches only the bytes it needs.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include "object_list.h"
#include "scratch.h"

namespace marrowick::reliability {
namespace {

using test::IffBuilder;
using test::TypeList;

// The chunks sit at kBase onward; the map follows them, just below 4 GiB.
constexpr std::uint64_t kBase = 0xFFFF0000;

// An object file whose chunks and map are moved from offset 64 to kBase: the
// header, then the moved part.
struct MovedFile {
    Bytes header;
    Bytes tail;
};

MovedFile ChairAtBase() {
    IffBuilder file;
    test::ObjectDefinition master;
    master.price = 350;
    master.catalog_id = 100;
    file.Object(128, "Chair", master);
    file.Object(129, "Chair - tile 1", {});
    file.Chunk("CTSS", 100, "", test::CatalogTexts("Chair", "A fine chair."));
    file.Chunk("BMP_", 100, "", test::CatalogThumbnail(0x3060C0, 0x60A0F0));
    std::vector<TypeList> lists = file.GeneratedTypeLists();
    for (TypeList& list : lists) {
        for (test::MapEntry& entry : list.entries) {
            entry.offset += static_cast<std::uint32_t>(kBase - 64);
        }
    }
    file.SetTypeLists(lists);
    Bytes bytes = file.Build();
    const std::uint32_t map = (std::uint32_t{bytes[60]} << 24 | std::uint32_t{bytes[61]} << 16 |
                               std::uint32_t{bytes[62]} << 8 | bytes[63]);
    SetMapOffset(bytes, static_cast<std::uint32_t>(map + kBase - 64));
    return {Bytes(bytes.begin(), bytes.begin() + 64), Bytes(bytes.begin() + 64, bytes.end())};
}

bool WriteAt(int fd, std::uint64_t offset, const Bytes& bytes) {
    return ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) ==
           static_cast<ssize_t>(bytes.size());
}

// Bytes this process has read through read-like calls so far (Linux), or -1.
long long BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
        if (key == "rchar:") {
            return value;
        }
    }
    return -1;
}

long PeakResidentKiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(HugeFile, SparseFileIsReadOnlyWhereTheIndexPoints) {
    const MovedFile moved = ChairAtBase();
    for (std::uint64_t size : {kBase + moved.tail.size() + 4096, std::uint64_t{6} << 30}) {
        SCOPED_TRACE(size);
        ScratchFolder folder;
        const std::string path = folder.Path("huge.iff");
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0) << std::strerror(errno);
        const bool made = ::ftruncate(fd, static_cast<off_t>(size)) == 0 &&
                          WriteAt(fd, 0, moved.header) && WriteAt(fd, kBase, moved.tail);
        const int error = errno;
        ::close(fd);
        if (!made) {
            GTEST_SKIP() << "the file system refuses a sparse file of " << size
                         << " bytes: " << std::strerror(error);
        }

        const long long readBefore = BytesReadSoFar();
        const long peakBefore = PeakResidentKiB();
        Reader reader;
        reader.Open(path);
        ASSERT_TRUE(reader.messages.shown.empty());
        ASSERT_EQ(reader.parse->ObjdCount, 2);
        EXPECT_EQ(reader.parse->ObjdLabel[1], "Chair - tile 1");
        const std::vector<ObjectListEntry> entries = FillObjectList(*reader.parse);
        for (int object = 0; object < 2; ++object) {
            reader.DecodeAll(object);
        }
        EXPECT_EQ(reader.Row(0).Price, 350);
        reader.parse->ReadCatalogText(entries[0].ItemData);
        EXPECT_EQ(reader.parse->CatalogName, "Chair");
        const std::vector<std::uint8_t> thumbnail =
            reader.parse->ReadThumbnailBytes(reader.parse->ThumbIndex[0]);
        ASSERT_GE(thumbnail.size(), 2u);
        EXPECT_EQ(thumbnail[0], 'B');

        // The file is gigabytes long; everything above was a few kilobytes.
        if (readBefore >= 0) {
            EXPECT_LT(BytesReadSoFar() - readBefore, 1 << 20);
        } else {
            std::cout << "no /proc/self/io: bytes read not checked\n";
        }
        EXPECT_LT(PeakResidentKiB() - peakBefore, 64 * 1024);
    }
}

}  // namespace
}  // namespace marrowick::reliability
