// marrowick-inspect: the sample against its expected file, the table, the folder
// walk, errors among good files, --walk-chunks, shared GUIDs, the exit statuses.
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <tuple>

#include "collect_paths.h"
#include "demo_sample.h"
#include "file_names.h"
#include "guid_check.h"
#include "marrowick_version.h"
#include "messages.h"
#include "run.h"
#include "run_program.h"
#include "test_system.h"

namespace marrowick::inspect::test {
namespace {

namespace fs = std::filesystem;
using marrowick::test::ArchiveBuilder;
using marrowick::test::Bytes;
using marrowick::test::FsPath;
using marrowick::test::IffBuilder;
using marrowick::test::kPosix;
using Folder = marrowick::test::TempFolder;

// A JSON document as a script would read it: it must be valid, UTF-8 included.
rapidjson::Document Json(const std::string& text) {
    rapidjson::Document document;
    document.Parse<rapidjson::kParseValidateEncodingFlag>(text.c_str());
    EXPECT_FALSE(document.HasParseError()) << text;
    return document;
}

// A field of a JSON object: null when it is missing.
const rapidjson::Value& Field(const rapidjson::Value& object, const char* key) {
    static const rapidjson::Value null;
    const auto found = object.IsObject() ? object.FindMember(key) : object.MemberEnd();
    return object.IsObject() && found != object.MemberEnd() ? found->value : null;
}

// A JSON value's text, or `otherwise` when it is no text.
std::string Text(const rapidjson::Value& value, const std::string& otherwise = "") {
    return value.IsString() ? std::string(value.GetString(), value.GetStringLength()) : otherwise;
}

// The texts of a JSON list.
std::vector<std::string> Texts(const rapidjson::Value& list) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; list.IsArray() && i < list.Size(); ++i) {
        texts.push_back(Text(list[static_cast<rapidjson::SizeType>(i)]));
    }
    return texts;
}

std::size_t Count(const rapidjson::Value& list) {
    return list.IsArray() ? list.Size() : 0;
}

RunResult Inspect(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"marrowick-inspect"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::ostringstream out, err;
    return {RunInspect(command, out, err, false), out.str(), err.str()};  // braces run in order
}

// Object i: label `label` + " " + i, chunk id 128 + i, GUID guids[i] (little-endian).
// Without `map` the file is read by its chunks; `size` cuts it short or pads it.
Bytes Guids(const std::string& label, const std::vector<std::uint32_t>& guids, bool map = true,
            std::size_t size = 0) {
    IffBuilder file;
    for (std::size_t i = 0; i < guids.size(); ++i) {
        file.Object(static_cast<std::int16_t>(128 + i), label + " " + std::to_string(i),
                    {.guid = guids[i]});
    }
    if (!map) {
        file.OmitMap();
    }
    Bytes bytes = file.Build();
    bytes.resize(size > 0 ? size : bytes.size());
    return bytes;
}

TEST(Sample, CommittedFileIsWhatMakeSampleWritesAndItsJsonIsTheExpectedFile) {
    const std::string folder = MARROWICK_SOURCE_DIR "/", sample = folder + "samples/demo.iff";
    EXPECT_EQ(marrowick::test::ReadFile(sample), tools::DemoSample())
        << "regenerate with: make_sample samples/demo.iff";
    RunResult run = Inspect({"--json", sample});
    const Bytes expected = marrowick::test::ReadFile(folder + "samples/demo.expected.json");
    EXPECT_EQ(run.out.replace(run.out.find(folder), folder.size(), ""),
              std::string(expected.begin(), expected.end()));
}

// Columns line up in characters, whatever the bytes of a label; a control
// character shows as a blank.
TEST(Listing, TableOfEachFileSaysHowItWasRead) {
    Folder folder;
    IffBuilder chair;
    chair.Object(300, "Caf\xE9\x01", {.guid = 0xCDAB1234, .price = 150, .room_flags = 8});
    const std::string c = folder.Write("c.iff", chair.Build()),
                      empty = folder.Write("e.iff", IffBuilder().Build());
    EXPECT_EQ(Inspect({"--walk-chunks", c, empty}).out,
              "File: " + c + "  Read by: resource map\n  Objects:\n" +
                  "    Index  Label  Id   GUID       Original GUID  Price  Room         Type" +
                  "        Catalog name\n    0      Caf\xC3\xA9   300  3412 ABCD  0000 0000" +
                  "      150    Living Room  Not Listed  No Description\nFile: " + empty +
                  "  Read by: resource map\n  Objects: none\n");
}

// The first line of a GUID check's text report, with no versions or copies.
std::string Summary(int files, int objects, int conflicts, int errors) {
    return "Files: " + std::to_string(files) + "  Objects: " + std::to_string(objects) +
           "  Conflicts: " + std::to_string(conflicts) +
           "  Versions of one object: 0  Copies of one file: 0  Errors: " + std::to_string(errors) +
           "\n";
}

// What the walk of w.iff, cut short in its second object, says.
const std::string kCutShort =
    "Reading stopped at byte 356: the chunk there is 292 bytes long and runs past the end of the "
    "file at byte 638. Nothing from there on is read.";

// Characters that JSON escapes and a terminal must not see, as far as names on
// the system may hold them: Windows refuses control characters below 32, '"'
// and '\' in names, but takes CSI (U+009B), which starts a terminal's control
// sequences as ESC does.
const std::string kControl = kPosix ? "\x1B" : "\xC2\x9B";
const std::string kEscapedName = kPosix ? "x\x1B\"\\.iff" : "x" + kControl + ".iff",
                  kEscapedInJson = kPosix ? "x\\u001B\\\"\\\\.iff" : kEscapedName;

// A collection in folder c, walked for the text report, and loose files. File
// names may hold characters that JSON escapes and a terminal must not see.
class Collection : public ::testing::Test {
  protected:
    void SetUp() override {
        // Large enough to be compared in two blocks; the sofas differ in their last byte only.
        const Bytes chair = Guids("Chair", {0xE7EA4328}, true, 300 * 1024);
        Bytes sofa = Guids("Sofa", {0x33}, true, 300 * 1024);
        folder.Write("c/one/chair.iff", chair);
        folder.Write("c/two/Chair copy.IFF", chair);
        folder.Write("c/sofa.iff", sofa);
        sofa.back() = 1;
        folder.Write("c/three/deep/sofa.Iff", sofa);
        folder.Write("c/two/lamp.iff", Guids("Lamp", {0x22, 0x22}));
        folder.Write("c/two/bro" + kControl + "ken.iff", marrowick::test::ToBytes("IFF"));
        folder.Write("c/.iff", IffBuilder().Build());
        folder.Write("c/iff", Guids("Not taken", {0x22}));
        folder.Write("c/two/lamp.iff.bak", Guids("Not taken", {0x22}));
        const std::string c = folder.root + "c/";
        if (!kPosix) {
            // Links are Linux's rows: wine's CreateSymbolicLinkW makes nothing
            // (and says it did), and no link can lead nowhere there.
            return;
        }
        fs::create_symlink(c + "two/lamp.iff", c + "alias.iff");  // met before its target
        fs::create_directory_symlink(c, c + "three/deep/up");
        fs::create_symlink(c + "nowhere.iff", c + "m.iff");
        fs::create_symlink(c + "nowhere", c + "m_other");
    }
    Folder folder;
    const std::string x = folder.Write(kEscapedName, Guids("X", {0x01020304})),
                      y = folder.Write("y.iff", Guids("Y", {0x01020304, 0}, false)),
                      z = folder.Write("z.dat", marrowick::test::ToBytes("IFF_FILE and more")),
                      w = folder.Write("w.iff", Guids("Cut", {0x55, 0x66}, false, 638));
};

// Walked sorted, recursively, *.iff in any case, each file once by its own path,
// unreadable entries in place. True clashes come first, then versions, then
// copies, each in the order of its first users; the files with errors are
// listed by reason, as stderr names them.
TEST_F(Collection, ReportOfSharedGuidsFromTheProgram) {
    const RunResult program =
        RunProgram({"--conflicts", "./", "two", "../w.iff"}, folder.root + "c");
    // Without the links (Windows), the link to nowhere is not there to be an error.
    const std::string dangling =
        kPosix ? "./m.iff: Could not open \"./m.iff\": No such file or directory.\n" : "";
    const std::string noMap =
        "../w.iff: Future versions will support objects without a Resource Map, however this "
        "version requires one.\n";
    EXPECT_EQ(
        program.out,
        std::string(kPosix ? "Files: 9" : "Files: 8") +
            "  Objects: 6  Conflicts: 1  Versions of one object: 1  Copies of one file: 1  "
            "Errors: " +
            (kPosix ? "3" : "2") +
            "\n  What to do: Different objects share a GUID: remove one, or replace it with a "
            "version that has a GUID of its own. Two versions of one object: keep the newer file "
            "and delete the older. Copies of one file: keep one and delete the others.\n"
            "  Files with errors:\n" +
            (kPosix ? "    Could not be opened: 1 file.\n      " + dangling : "") +
            "    Not an object file: 1 file.\n"
            "      ./two/bro ken.iff: Not a Valid IFF\n"
            "    No resource map: 1 file. --walk-chunks reads it by its chunks.\n      " +
            noMap +
            "  GUIDs used by more than one object:\n"
            "    GUID: 2200 0000  Value: 0x00000022  different objects\n"
            "      File            Index  Entry        Id\n"
            "      ./two/lamp.iff  0      Lamp 0  128  128\n"
            "      ./two/lamp.iff  1      Lamp 1  129  129\n"
            "    GUID: 3300 0000  Value: 0x00000033  two versions of one object\n"
            "      File                   Index  Entry        Id\n"
            "      ./sofa.iff             0      Sofa 0  128  128\n"
            "      ./three/deep/sofa.Iff  0      Sofa 0  128  128\n"
            "    GUID: 2843 EAE7  Value: 0xE7EA4328  copies of one file\n"
            "      File                  Index  Entry         Id\n"
            "      ./one/chair.iff       0      Chair 0  128  128\n"
            "      ./two/Chair copy.IFF  0      Chair 0  128  128\n"
            "  Objects with no GUID (0000 0000): none\n");
    EXPECT_EQ(program.err, dangling + "./two/bro ken.iff: Not a Valid IFF\n" + noMap);
    EXPECT_EQ(program.status, kFileError);  // which wins over the shared GUIDs

    // JSON, with chunk reading.
    const RunResult run = Inspect({"--conflicts", "--json", "--walk-chunks", x, y, w});
    const auto user = [](const std::string& file, const char* rest) {
        return "{\"file\": \"" + file + "\", \"index\": " + rest + "}";
    };
    EXPECT_EQ(run.out,
              "{\"files\": 3, \"read_by_chunks\": 2, \"objects\": 4, \"conflicts\": 1, "
              "\"versions\": 0, \"copies\": 0, \"errors\": 0, \"warnings\": 1, \"shared_guids\": "
              "[{\"guid\": [\"0403\", \"0201\"], \"value\": \"0x01020304\", \"kind\": "
              "\"different_objects\", \"copies_of_one_file\": false, "
              "\"objects\": [" +
                  user(folder.root + kEscapedInJson,
                       "0, \"list_text\": \"X 0  128\", \"chunk_id\": 128") +
                  ", " + user(y, "0, \"list_text\": \"Y 0  128\", \"chunk_id\": 128") +
                  "]}], \"no_guid\": [" +
                  user(y, "1, \"list_text\": \"Y 1  129\", \"chunk_id\": 129") +
                  "], \"file_errors\": [], \"file_warnings\": [{\"file\": \"" + w +
                  "\", \"warning\": \"" + kCutShort + "\", \"reason\": \"walk_stopped\"}]}\n");
    EXPECT_EQ(run.err, w + ": " + kCutShort + "\n");
    EXPECT_EQ(run.status, kFileError);  // the warning wins over the shared GUID
    // The text lists it by reason; the run read by chunks already.
    EXPECT_NE(Inspect({"--conflicts", "--walk-chunks", x, y, w})
                  .out.find("\n  Files read with warnings:\n    Chunk walk stopped early: 1 "
                            "file.\n      " +
                            w + ": " + kCutShort + "\n  GUIDs used"),
              std::string::npos);
}

// A download cut short keeps the objects read before its end and says what is
// missing, whatever the mode; a file that ends at a chunk boundary past every
// listed chunk is whole. One cut before its map could be read is refused, saying
// so, unless --walk-chunks reads what is there; an offset at something else
// inside the file is "No Resource Map!".
TEST(CutShort, MapOrListedChunkRunningPastTheEnd) {
    Folder folder;
    IffBuilder file;
    file.Object(512, "Sofa", {.guid = 0x1234, .catalog_id = 7});
    const std::uint32_t tile = file.Object(513, "Sofa - tile 1", {.guid = 0x1235});
    const std::uint32_t texts =
        file.Chunk("CTSS", 7, "", marrowick::test::CatalogTexts("Sofa", "A sofa."));
    file.Chunk("BMP_", 7, "", marrowick::test::CatalogThumbnail(0x3060C0, 0x60A0F0));
    const std::uint32_t sprites = file.Chunk("SPR2", 512, "", Bytes(4000, 0));
    const Bytes atEnd = file.Build();
    Bytes elsewhere = atEnd;  // its map offset at the first object
    std::ranges::copy(Bytes{0, 0, 0, 64}, elsewhere.begin() + 60);
    file.MapFirst();
    const Bytes whole = file.Build();
    const std::uint32_t map =
        static_cast<std::uint32_t>(whole.size()) - sprites - 4076;  // its size
    const auto head = [](const Bytes& bytes, std::size_t size) {
        return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    };
    const std::string ends = "The file is cut short: it ends at byte ";
    const std::string at = std::to_string(sprites + 4076), stopped = "Reading stopped at byte ";
    // The objects listed, what the file is told and, when its map cannot be used,
    // the warning of the walk that --walk-chunks makes.
    struct Cut {
        Bytes bytes;
        int objects;
        std::string told;
        std::optional<std::string> walk = std::nullopt;
    };
    const Cut cuts[] = {
        {head(whole, 104), 0,
         ends + "104, inside its resource map, which starts at byte 64 and is 194 bytes long."},
        {head(whole, map + tile + 100), 2,
         ends + "650, inside the OBJD chunk that starts at byte 550 and is 292 bytes long. 2 more "
                "listed chunks run past the end too."},
        {head(whole, map + texts + 80), 2,
         ends + "922, inside the CTSS chunk that starts at byte 842 and is 97 bytes long. 1 more "
                "listed chunk runs past the end too."},
        {head(whole, map + sprites), 2, ""},
        {head(atEnd, tile + 100), 1,
         "The file is cut short: its resource map should start at byte " + at +
             ", but the file ends at byte 456.",
         stopped + "356: the chunk there is 292 bytes long and runs past the end of the file at "
                   "byte 456. Nothing from there on is read."},
        {head(atEnd, sprites + 4080), 2,
         ends + std::to_string(sprites + 4080) +
             ", inside the header of its resource map at byte " + at + ".",
         stopped + at +
             ": only 4 bytes are left there, too few for a 76-byte chunk header. "
             "Nothing from there on is read."},
        {head(atEnd, 40), 0, ends + "40, inside its 64-byte header.",
         "The file ends at byte 40, before its first chunk at byte 64."},
        {elsewhere, 2, kNoResourceMap, ""}};
    int written = 0;
    for (const auto& [bytes, objects, told, walk] : cuts) {
        const std::string path = folder.Write(std::to_string(++written) + ".iff", bytes);
        for (const char* mode : {"--json", "--walk-chunks"}) {
            const bool walking = mode[2] == 'w', refused = walk && !walking;  // told as the error
            std::vector<std::string> warnings;  // what the file is told, then the walk's own
            if (!refused && !told.empty() && told != kNoResourceMap) {
                warnings.push_back(told);
            }
            if (walking && walk && !walk->empty()) {
                warnings.push_back(*walk);
            }
            std::string err;
            for (std::string text : refused ? std::vector{told} : warnings) {
                for (std::size_t cut; (cut = text.find("\r\n")) != std::string::npos;) {
                    text.erase(cut, 1);  // not replace(): GCC 12 at -O3 warns of an overlap
                    text[cut] = ' ';
                }
                err += path + ": " + text + "\n";
            }
            const RunResult run = Inspect({"--json", mode, path});
            const rapidjson::Document o = Json(run.out);
            EXPECT_EQ(Text(Field(o, "error")), refused ? told : "") << path << mode;
            EXPECT_EQ(Texts(Field(o, "warnings")), warnings);
            EXPECT_EQ(o.HasMember("warnings"), walking || !warnings.empty());
            EXPECT_EQ(Count(Field(o, "objects")), refused ? 0 : objects);
            EXPECT_EQ(run.err, err);
            EXPECT_EQ(run.status, err.empty() ? kAllRead : kFileError);
            // The check reads it alike; its report shows what it was told.
            const RunResult check = Inspect({"--conflicts", "--json", mode, path});
            EXPECT_EQ(Count(Field(Json(check.out), refused ? "file_errors" : "file_warnings")),
                      refused ? 1 : warnings.size());
            EXPECT_EQ(check.status, run.status);
        }
    }
}

// A name's pieces that are not UTF-8, as JSON escapes them under `rule`, with
// each piece checked to encode back to its bytes (a Windows name, made from
// UTF-16, has no byte that is not UTF-8 of its own, only surrogates).
std::string Escaped(std::string_view name, NameRule rule) {
    std::string escaped;
    for (NamePiece piece; !name.empty(); name.remove_prefix(piece.size)) {
        piece = NextNamePiece(name, rule);
        if (piece.kept == 0) {
            escaped += name.substr(0, piece.size);
            continue;
        }
        std::string bytes;
        EXPECT_TRUE(AppendKeptUnit(bytes, piece.kept, rule));
        if (rule == NameRule::Bytes || piece.size == 3) {
            EXPECT_EQ(bytes, name.substr(0, piece.size));
        }
        char unit[7];
        std::snprintf(unit, sizeof unit, "\\u%04x", static_cast<unsigned>(piece.kept));
        escaped += unit;
    }
    return escaped;
}

// Linux keeps each byte that is not part of valid UTF-8; Windows keeps an
// unpaired surrogate whole, in the three bytes it is made UTF-8 with.
TEST(Paths, NamePiecesThatAreNotUtf8) {
    const std::tuple<std::string, std::string, std::string> names[] = {
        {"Caf\xE9.iff", "Caf\\udce9.iff", "Caf\\udce9.iff"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xED\x9F\xBF",
         "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xED\x9F\xBF",
         "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xED\x9F\xBF"},
        {"\xC0\xAF\xE0\x9F\xBF", "\\udcc0\\udcaf\\udce0\\udc9f\\udcbf",
         "\\udcc0\\udcaf\\udce0\\udc9f\\udcbf"},
        {"a\xED\xA0\x80"
         "b\xED\xBF\xBF",
         "a\\udced\\udca0\\udc80b\\udced\\udcbf\\udcbf", "a\\ud800b\\udfff"},
        {"\xED\xA0 \xF4\x90\x80\x80 \xE2\x82",
         "\\udced\\udca0 \\udcf4\\udc90\\udc80\\udc80 \\udce2\\udc82",
         "\\udced\\udca0 \\udcf4\\udc90\\udc80\\udc80 \\udce2\\udc82"},
        {"\xFF", "\\udcff", "\\udcff"}};
    for (const auto& [name, onLinux, onWindows] : names) {
        EXPECT_EQ(Escaped(name, NameRule::Bytes), onLinux);
        EXPECT_EQ(Escaped(name, NameRule::Utf16), onWindows);
    }
    std::string unused;
    EXPECT_FALSE(AppendKeptUnit(unused, 0xDC7F, NameRule::Bytes));  // no byte under 0x80 is kept
    EXPECT_FALSE(AppendKeptUnit(unused, 0xE000, NameRule::Utf16));
    EXPECT_EQ(PrintableText("Caf\xE9\x01\xC2\x85\x7F\xC2\xA0.iff"),
              "Caf\xEF\xBF\xBD   \xC2\xA0.iff");
}

// A name that is not UTF-8 is opened by its bytes and given back in JSON as
// escapes; the table shows U+FFFD. A walk follows a link only into the folders
// given and notes every other once, without opening what it leads to.
TEST(Paths, NamesAreBytesAndLinksStayInside) {
    if (!kPosix) {
        GTEST_SKIP() << "names of any bytes, and links to / and /dev/null, are Linux's; the "
                        "Windows table has its own names and junctions";
    }
    Folder folder;
    const std::string in = folder.root + "in",
                      cafe = folder.Write("in/Caf\xE9.iff", Guids("C", {1}));
    folder.Write("input/lamp.iff", Guids("Lamp", {2}));  // beside "in", not in it
    fs::create_directory_symlink("/", in + "/root");
    fs::create_directory_symlink(folder.root + "input", in + "/other");
    fs::create_symlink("/dev/null", in + "/null.iff");
    EXPECT_NE(Inspect({"--json", cafe}).out.find("/in/Caf\\udce9.iff\", \"error\": null"),
              std::string::npos);
    EXPECT_NE(Inspect({cafe}).out.find("/in/Caf\xEF\xBF\xBD.iff\n"), std::string::npos);
    // A message that names such a file shows U+FFFD, in JSON too, which stays UTF-8.
    const RunResult gone = Inspect({"--json", folder.root + "gone\xE9.iff"});
    const std::string shown = folder.root + "gone\xEF\xBF\xBD.iff",
                      missing = "Could not open \"" + shown + "\": No such file or directory.";
    EXPECT_EQ(Text(Field(Json(gone.out), "error")), missing);
    EXPECT_EQ(gone.err, shown + ": " + missing + "\n");
    const auto left = [&](const char* link, const char* what, const std::string& target) {
        return in + "/" + link + ": is a link to the " + what + " " + target +
               ", outside the folders given; it is not followed.\n";
    };
    const std::string device = left("null.iff", "file", "/dev/null");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--json", in},
         device + left("other", "folder", folder.root + "input") + left("root", "folder", "/")},
        {{"--json", in, folder.root + "input"}, device + left("root", "folder", "/")}};
    for (const auto& [arguments, err] : cases) {
        const RunResult run = Inspect(arguments);
        EXPECT_EQ(run.err, err);
        EXPECT_EQ(run.out.find("in/other/lamp.iff") != std::string::npos, arguments.size() > 2);
    }
}

// Folder names of 200 bytes: 25 of them make a path past PATH_MAX.
const std::string kLong(200, 'd');

// A GUID check that changes the folders as it goes: `during` runs once the
// first folder has been read, `after` once every folder has.
struct HookedCheck : GuidCheckObserver {
    std::function<void()> during, after;
    std::string notices;
    void Found(std::size_t) override {
        if (const std::function<void()> hook = std::exchange(during, nullptr)) {
            hook();
        }
    }
    void Walked(std::size_t) override { after(); }
    void Notice(const std::string& line) override { notices += line + '\n'; }
};

// The same file is read once wherever it is met (every mode walks alike); the walk
// reaches any depth and never leaves the folders given, not even when a folder
// is swapped for a link leading out while it walks or after; a folder it
// cannot open is an error, not a file.
TEST(Walk, EachFileOnceAndNothingOutside) {
    if (!kPosix) {
        GTEST_SKIP() << "made with links to files and folders and a folder's permissions, as "
                        "Linux has them; the Windows table walks junctions and a long path";
    }
    Folder folder;
    const std::string dl = folder.root + "dl", a = folder.Write("dl/a.iff", Guids("A", {0x10})),
                      away = folder.root + "away", out = folder.root + "out";
    folder.Write("dl/sub/b.iff", Guids("B", {0x30}));
    folder.Write("dl/inside.dat", Guids("In", {0x20}));
    folder.Write("out/b.iff", Guids("Out", {0x10}));  // would clash with a.iff
    fs::create_symlink("inside.dat", dl + "/in.iff");
    fs::create_symlink(out + "/b.iff", dl + "/out.iff");
    const std::string deep = folder.root + "deep";
    folder.Write("deep/" + kLong + "/zz/top.iff", Guids("Top", {0x40}));  // met after the depths
    const Bytes bottom = Guids("Bottom", {0x40});
    marrowick::test::MakeDeepFolders(deep, kLong, 25, bottom);

    const std::function<void()> none = [] {}, swap = [&] {
        fs::rename(dl + "/sub", away);
        fs::create_directory_symlink(out, dl + "/sub");
    };
    const std::string outLink = dl + "/out.iff: is a link to the file " + out +
                                "/b.iff, outside the folders given; it is not followed.\n";
    const std::string cannot = dl + "/sub: Could not open \"" + dl + "/sub\": ";
    const struct {
        std::vector<std::string> paths;
        std::function<void()> during, after;
        std::string summary, notices;
        std::function<void()> before = [] {};
    } cases[] = {
        {{a, a}, none, none, Summary(1, 1, 0, 0), ""},
        {{a, dl}, none, none, Summary(3, 3, 0, 0), outLink},
        {{dl, a}, none, none, Summary(3, 3, 0, 0), outLink},
        {{deep}, none, none, Summary(2, 2, 1, 0), ""},
        {{dl},
         swap,
         none,
         Summary(2, 2, 0, 0),
         outLink + dl + "/sub: is a link to the folder " + out +
             ", outside the folders given; it is not followed.\n"},
        {{dl},
         none,
         swap,
         Summary(3, 2, 0, 1),
         outLink + dl + "/sub/b.iff: Could not open \"" + dl +
             "/sub/b.iff\": it is not the file found there when its folder was read; it, or a "
             "folder on its path, has been replaced since.\n"},
        {{dl},
         [&] { fs::rename(dl + "/sub", away); },
         none,
         Summary(2, 2, 0, 1),
         outLink + cannot + "No such file or directory.\n"},
        {{dl},
         [&] { fs::permissions(dl + "/sub", fs::perms::none); },
         none,
         Summary(2, 2, 0, 1),
         outLink + cannot + "Permission denied.\n"},
        {{dl + "/sub"},  // a folder named that cannot be opened is an error too
         none,
         none,
         Summary(0, 0, 0, 1),
         cannot + "Permission denied.\n",
         [&] { fs::permissions(dl + "/sub", fs::perms::none); }}};
    for (const auto& row : cases) {
        if (row.notices.ends_with("Permission denied.\n") && marrowick::test::RunningAsRoot()) {
            continue;  // root opens every folder; CTest runs this again as another user
        }
        row.before();
        HookedCheck hooks;
        hooks.during = row.during;
        hooks.after = row.after;
        std::ostringstream report;
        PrintGuidCheck(*MakeTextPrinter(report), CheckGuids(row.paths, false, hooks));
        EXPECT_EQ(report.str().substr(0, report.str().find('\n') + 1), row.summary)
            << row.paths.front();
        EXPECT_EQ(hooks.notices, row.notices) << row.paths.front();
        if (fs::is_symlink(dl + "/sub")) {
            fs::remove(dl + "/sub");
        }
        if (fs::exists(away)) {
            fs::rename(away, dl + "/sub");
        }
        fs::permissions(dl + "/sub", fs::perms::owner_all);
    }
}

// Output that cannot be written fails the run, whatever was asked. A reader
// that has gone (`| head`) needs no message; a full disk does.
TEST(Output, AWriteErrorFailsTheRun) {
    const std::pair<Output, std::string> outputs[] = {
        {Output::FullDevice,
         "marrowick-inspect: cannot write to standard output: No space left on device\n"},
        {Output::ClosedPipe, ""}};
    for (const auto& [output, err] : outputs) {
        if (output == Output::FullDevice && !kPosix) {
            continue;  // Windows has no device that is always full
        }
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{"--help"},
              std::vector<std::string>{"--json", MARROWICK_SOURCE_DIR "/samples/demo.iff"}}) {
            const RunResult program = RunProgram(arguments, ".", output);
            EXPECT_EQ(program.status, kWriteError) << err;
            EXPECT_EQ(program.err, err);
        }
    }
}

// The game's archive in one folder, downloads in another: one takes the GUID of
// an archived object, one is a byte-identical copy of a member.
class Archives : public ::testing::Test {
  protected:
    void SetUp() override {
        game.Member("objects/Chair.iff", chair);
        game.Member("objects/Lamp.IFF", Guids("Lamp", {0x22}));
        game.Member("sounds/click.wav", {1, 2, 3});
        game.Member("Caf\xE9.iff", Guids("Old", {0x44}, false));
        ArchiveBuilder sounds;
        sounds.Member("click.wav", {1});
        game.Member("inner.iff", sounds.Build());  // an archive by its bytes
        game.Entry("past.iff", 16, 1 << 30);
        folder.Write("game/objects.FAR", game.Build());
        folder.Write("game/sounds.far", sounds.Build());
        folder.Write("downloads/chair copy.iff", chair);
        folder.Write("downloads/lamp mod.iff", Guids("Lamp mod", {0x22}));
    }
    Folder folder;
    const Bytes chair = Guids("Chair", {0xE7EA4328, 0});
    ArchiveBuilder game;
    const std::string objects = folder.root + "game/objects.FAR";
};

// Each object-file member is a line of its own, with the same fields as the same
// file loose; a member that cannot be read, or an archive that is refused whole,
// is an error of its own, and the rest is still read.
TEST_F(Archives, MembersAreListedLikeFiles) {
    ArchiveBuilder broken;
    broken.SetVersion(3);
    folder.Write("game/broken.far", broken.Build());
    const RunResult run = Inspect({"--json", folder.root + "game", folder.root + "downloads"});
    std::string members;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const rapidjson::Document o = Json(line);
        members += Text(Field(o, "member"), "-") + (Field(o, "error").IsNull() ? "" : "!") +
                   std::to_string(Count(Field(o, "objects"))) + " ";
    }
    EXPECT_EQ(members,
              "-!0 objects/Chair.iff2 objects/Lamp.IFF1 Caf\xC3\xA9.iff!0 inner.iff!0 "
              "past.iff!0 -2 -1 ");
    const std::string loose = Inspect({"--json", folder.root + "downloads/chair copy.iff"}).out;
    const std::string member = "\"member\": \"objects/Chair.iff\", ";
    const std::size_t at = run.out.find(member);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(run.out.substr(at + member.size(), loose.size() - loose.find("\"error\"")),
              loose.substr(loose.find("\"error\"")));
    EXPECT_NE(run.out.find("{\"file\": \"" + folder.root +
                           "game/broken.far\", \"member\": null, "
                           "\"error\": \"The archive is of version 3; only archives of version 1 "
                           "can be read.\", \"objects\": []}\n"),
              std::string::npos);
    std::string err = run.err;
    for (std::size_t cut; (cut = err.find(folder.root)) != std::string::npos;) {
        err.erase(cut, folder.root.size());
    }
    const std::string far = "game/objects.FAR: ";
    EXPECT_EQ(err,
              "game/broken.far: The archive is of version 3; only archives of version 1 can "
              "be read.\n" +
                  far +
                  "skipped 1 member that is not an object file (its name does not end "
                  "in .iff).\n" +
                  far +
                  "Caf\xC3\xA9.iff: Future versions will support objects without a "
                  "Resource Map, however this version requires one.\n" +
                  far + "inner.iff: Not a Valid IFF\n" + far +
                  "past.iff: The member takes bytes 16 to 1073741840 of the archive, but the "
                  "archive ends at byte 1855.\ngame/sounds.far: holds no object files (no "
                  "member name in it ends in .iff; 1 skipped).\n");
    EXPECT_EQ(run.status, kFileError);
    const std::string table = Inspect({"--walk-chunks", objects}).out;
    EXPECT_NE(table.find("Archive: " + objects + "  Member: Caf\xC3\xA9.iff  Read by: chunks\n" +
                         "  Objects:\n    Index  Label  Id   GUID"),
              std::string::npos);
}

// A download that takes the GUID of an archived object is marked as such; a
// byte-identical copy of a member is still a copy. The summary counts archives.
TEST_F(Archives, ConflictsBetweenArchivesAndDownloads) {
    const RunResult program = RunProgram({"--conflicts", "game/", "downloads/"}, folder.root);
    EXPECT_EQ(program.out,
              "Files: 7  Archives: 2  Objects: 6  Conflicts: 1  Versions of one object: 0  Copies "
              "of one file: 1  Errors: 3\n"
              "  What to do: A loose file takes an archived object's GUID: remove the loose file "
              "unless it is meant to replace that object. Copies of one file: keep one and delete "
              "the others.\n"
              "  Files with errors:\n"
              "    No resource map: 1 file. --walk-chunks reads it by its chunks.\n"
              "      game/objects.FAR: Caf\xC3\xA9.iff: Future versions will support objects "
              "without a Resource Map, however this version requires one.\n"
              "    Not an object file: 1 file.\n"
              "      game/objects.FAR: inner.iff: Not a Valid IFF\n"
              "    Member past the archive's end: 1 file.\n"
              "      game/objects.FAR: past.iff: The member takes bytes 16 to 1073741840 of the "
              "archive, but the archive ends at byte 1855.\n"
              "  GUIDs used by more than one object:\n"
              "    GUID: 2200 0000  Value: 0x00000022  a loose file takes an archived object's "
              "GUID\n"
              "      File                    Member            Index  Entry            Id\n"
              "      game/objects.FAR        objects/Lamp.IFF  0      Lamp 0  128      128\n"
              "      downloads/lamp mod.iff                    0      Lamp mod 0  128  128\n"
              "    GUID: 2843 EAE7  Value: 0xE7EA4328  copies of one file\n"
              "      File                      Member             Index  Entry         Id\n"
              "      game/objects.FAR          objects/Chair.iff  0      Chair 0  128  128\n"
              "      downloads/chair copy.iff                     0      Chair 0  128  128\n"
              "  Objects with no GUID (0000 0000):\n"
              "    File                      Member             Index  Entry         Id\n"
              "    game/objects.FAR          objects/Chair.iff  1      Chair 1  129  129\n"
              "    downloads/chair copy.iff                     1      Chair 1  129  129\n");
    EXPECT_EQ(program.status, kFileError);
    const RunResult json = Inspect({"--conflicts", "--json", objects, folder.root + "downloads"});
    for (const char* part :
         {"{\"files\": 7, \"archives\": 1, ",
          "\"kind\": \"copies_of_one_file\", \"copies_of_one_file\": true, "
          "\"loose_takes_archived_guid\": false, \"objects\": [{\"file\": \"",
          "\"kind\": \"loose_takes_archived_guid\", \"copies_of_one_file\": false, "
          "\"loose_takes_archived_guid\": true, ",
          "\"error\": \"Not a Valid IFF\", \"reason\": \"not_an_object_file\"}",
          "copy.iff\", \"member\": null, \"index\": 0", "\"member\": \"Caf\xC3\xA9.iff\""}) {
        EXPECT_NE(json.out.find(part), std::string::npos) << part;
    }

    // A cell widens its column to 255 characters at most: a longer member name
    // is written whole in its own row and pads no other row past that.
    const std::string name = std::string(1000, 'n') + ".iff";
    ArchiveBuilder archive;
    const Bytes lamp = Guids("Lamp", {0x22});
    archive.Member("a.iff", lamp);
    archive.Entry(name, 16, static_cast<std::uint32_t>(lamp.size()));
    const std::string far = folder.Write("long.far", archive.Build());
    const std::string rest = "  0      Lamp 0  128  128\n",
                      table = Inspect({"--conflicts", far}).out;
    EXPECT_EQ(table.substr(table.find("\n    GUID")),
              "\n    GUID: 2200 0000  Value: 0x00000022  copies of one file\n      File" +
                  std::string(far.size() - 2, ' ') + "Member" + std::string(251, ' ') +
                  "Index  Entry        Id\n      " + far + "  a.iff" + std::string(250, ' ') +
                  rest + "      " + far + "  " + name + rest +
                  "  Objects with no GUID (0000 0000): none\n");
}

// --find, over the game's archive and the downloads: a GUID in each written
// form, an original GUID (one of all zero is none), a label or catalog name in
// any case as the window shows it, the first of several queries, a map-less
// member read by chunks; nothing found is status 1, and says when files could
// not be read.
TEST_F(Archives, FindObjects) {
    IffBuilder desk;
    desk.Object(300, "Writing desk",
                {.guid = 0xB9EA4328, .catalog_id = 7, .original_guid = 0x36BE86A7});
    desk.Chunk("CTSS", 7, "", marrowick::test::CatalogTexts("Bureau d'\xC9t\xE9", "A desk."));
    const std::string gameFolder = folder.root + "game", downloads = folder.root + "downloads",
                      desktop = folder.Write("downloads/desk.iff", desk.Build());
    const struct {
        std::vector<std::string> finds;
        std::string found;  // per object: file or member, index, found by, query
        std::string summary = "7 objects in 5 files: 1 found.\n";
    } cases[] = {
        {{"--find", "2843 EAB9"}, "desk.iff 0 guid 2843 EAB9; "},
        {{"--find=2843EAB9"}, "desk.iff 0 guid 2843EAB9; "},
        {{"--find", "0xb9ea4328"}, "desk.iff 0 guid 0xb9ea4328; "},
        {{"--find", "B9EA4328"}, "desk.iff 0 guid B9EA4328; "},
        {{"--find", "A786 BE36"}, "desk.iff 0 original_guid A786 BE36; "},
        {{"--find", "0000 0000"},
         "objects/Chair.iff 1 guid 0000 0000; chair copy.iff 1 guid 0000 0000; ",
         "7 objects in 5 files: 2 found.\n"},
        {{"--find", " \xC3\xA9T\xC3\x89 "}, "desk.iff 0 catalog_name  \xC3\xA9T\xC3\x89 ; "},
        {{"--find", "D'\xC9t"}, "desk.iff 0 catalog_name D'\xEF\xBF\xBDt; "},
        {{"--find", "lamp", "--find", "0x00000022"},
         "objects/Lamp.IFF 0 label lamp; lamp mod.iff 0 label lamp; ",
         "7 objects in 5 files: 2 found.\n"},
        {{"--find", "0x00000022", "--find", "lamp"},
         "objects/Lamp.IFF 0 guid 0x00000022; lamp mod.iff 0 guid 0x00000022; ",
         "7 objects in 5 files: 2 found.\n"},
        {{"--walk-chunks", "--find", "OLD 0"},
         "Caf\xC3\xA9.iff 0 label OLD 0; ",
         "8 objects in 6 files: 1 found.\n"},
        {{"--find", "old 0"},
         "",
         "7 objects in 5 files: none found.\nmarrowick-inspect: nothing found, but 3 files could "
         "not be read in full: the search is incomplete.\n"}};
    for (const auto& [finds, found, summary] : cases) {
        std::vector<std::string> arguments{"--json", gameFolder, downloads};
        arguments.insert(arguments.begin(), finds.begin(), finds.end());
        const RunResult run = Inspect(arguments);
        std::string listed;
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            const rapidjson::Document o = Json(line);
            const std::string file = fs::path(Text(Field(o, "file"))).filename().string();
            listed += Text(Field(o, "member"), file) + " " +
                      std::to_string(Field(o, "index").GetInt()) + " " +
                      Text(Field(o, "found_by")) + " " + Text(Field(o, "query")) + "; ";
        }
        EXPECT_EQ(listed, found) << finds.back();
        EXPECT_TRUE(run.err.ends_with("\nSearched " + summary)) << run.err;
        EXPECT_EQ(run.status, found.empty() ? kNothingFound : kAllRead);
    }
    EXPECT_EQ(Inspect({"--json", "--find", "0x36BE86A7", downloads}).out,
              "{\"file\": \"" + desktop +
                  "\", \"index\": 0, \"chunk_id\": 300, \"label\": \"Writing desk\", \"guid\": "
                  "[\"2843\", \"EAB9\"], \"value\": \"0xB9EA4328\", \"original_guid\": [\"A786\", "
                  "\"BE36\"], \"catalog_name\": \"Bureau d'\xC3\x89t\xC3\xA9\", \"found_by\": "
                  "\"original_guid\", \"query\": \"0x36BE86A7\"}\n");
    const RunResult none = Inspect({"--find", "sofa", downloads});
    EXPECT_EQ(none.out + none.err, "Searched 4 objects in 3 files: none found.\n");
    EXPECT_EQ(none.status, kNothingFound);
}

// Options come anywhere before "--", one-letter ones may run together, and a
// long option takes any of its names; none takes a value. A usage error names
// the option as typed, safe for a terminal, and writes nothing on stdout. A run
// goes on past a file it cannot read, and reads by chunks only when asked. A
// folder with nothing to read is named once, and a run that read no file at all
// fails. A shared GUID fails the run unless its objects are copies of one file.
TEST_F(Collection, CommandLineAndExitStatuses) {
    const auto usage = [](const std::string& why) {
        return "marrowick-inspect: " + why +
               "\nTry 'marrowick-inspect --help' for more information.\n";
    };
    const std::string help(HelpText()),
        version = "marrowick-inspect " + std::string(kVersion) + "\n";
    const std::string noMap =
        ": Future versions will support objects without a Resource Map, however this version "
        "requires one.\n";
    const std::string notIff = z + ": Not a Valid IFF\n";
    const std::string none = folder.root + "none";
    folder.Write("none/notes.txt", marrowick::test::ToBytes("IFF"));
    fs::create_directory(none + "/sub");
    const std::string notice =
        none + ": holds no object files (no file name in it ends in .iff or .far).\n";
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string err;
        std::optional<std::string> out = "";
    } cases[] = {
        {{"--bogus", x}, kUsageError, usage("Unknown option '--bogus'.")},
        {{x, "-x"}, kUsageError, usage("Unknown option '-x'.")},
        {{"--bogus=1", "-hq", "--help", x}, kUsageError, usage("Unknown options: --bogus, -q.")},
        {{"-\xC3\xA9x", "--caf\xE9\x1B[2J"},
         kUsageError,
         usage("Unknown options: -\xC3\xA9, -x, --caf\xEF\xBF\xBD [2J.")},
        {{"--json=yes", x}, kUsageError, usage("Unexpected value after '--json'.")},
        {{"-vh=1"}, kUsageError, usage("Unexpected value after '-vh'.")},
        {{"--json=1", "--Json", x}, kUsageError, usage("Unknown option '--Json'.")},
        {{"--find", "a", "--conflicts", x},
         kUsageError,
         usage("--find and --conflicts cannot be used together.")},
        {{x, "--find= \t"}, kUsageError, usage("Option '--find' needs a text to find.")},
        {{x, "--find"}, kUsageError, usage("Option '--find' needs a text to find.")},
        {{"--find", "--json", "--bogus"}, kUsageError, usage("Unknown option '--bogus'.")},
        {{"--find", "--json", x}, kNothingFound, "Searched 1 object in 1 file: none found.\n"},
        {{"--json", "--"}, kUsageError, usage("no file or folder given.")},
        {{"--json"}, kUsageError, usage("no file or folder given.")},
        {{"--json", x, y, w, z}, kFileError, y + noMap + w + noMap + notIff, std::nullopt},
        {{"--walk-chunks", x, y, w, z},
         kFileError,
         w + ": " + kCutShort + "\n" + notIff,
         std::nullopt},
        {{"--conflicts", folder.root + "c/one", folder.root + "c/two/Chair copy.IFF"},
         kAllRead,
         "",
         std::nullopt},
        {{"--conflicts", "--walk-chunks", x, y}, kGuidConflict, "", std::nullopt},
        {{"--conflicts", folder.root + "c/sofa.iff", folder.root + "c/three/deep/sofa.Iff"},
         kGuidConflict,  // two versions of one object: one is to be deleted
         "",
         std::nullopt},
        {{none}, kFileError, notice, std::nullopt},
        {{"--conflicts", "--json", none, none}, kFileError, notice, std::nullopt},
        {{none, x}, kAllRead, notice, std::nullopt},
        {{"--conflicts", x, none}, kAllRead, notice, std::nullopt},
        {{"-hv"}, kAllRead, "", help},
        {{x, "--h"}, kAllRead, "", help},
        {{"--v"}, kAllRead, "", version},
        {{"--json", "--", "--help", "-"},
         kFileError,
         "--help: Could not open \"--help\": No such file or directory.\n"
         "-: Could not open \"-\": No such file or directory.\n",
         std::nullopt}};
    for (const auto& [arguments, status, err, out] : cases) {
        const RunResult run = Inspect(arguments);
        EXPECT_EQ(run.status, status) << arguments.front();
        EXPECT_EQ(run.err, err);
        if (out) {
            EXPECT_EQ(run.out, *out) << arguments.front();
        }
    }
    for (const char* status :
         {"\n  0  every file was read", "\n  1  a file, folder", "\n  2  the command line is wrong",
          "\n  3  with --conflicts", "\n  4  standard output could not be written"}) {
        EXPECT_NE(help.find(status), std::string::npos) << status;
    }
}

// Junctions are links: one to a folder inside the folders given is followed,
// one leading out is told and not followed, as links are on Linux.
TEST(OnWindows, JunctionsAreLinks) {
    if (kPosix) {
        GTEST_SKIP() << "junctions are Windows' own; Linux's links have tests of their own";
    }
    Folder folder;
    const std::string dl = folder.root + "dl", out = folder.root + "out";
    folder.Write("dl/a.iff", Guids("A", {0x10}));
    folder.Write("dl/sub/b.iff", Guids("B", {0x20}));
    folder.Write("out/c.iff", Guids("C", {0x10}));  // would clash with a.iff
    std::string why;
    if (!marrowick::test::MakeFolderLink(dl + "/sub", dl + "/in", why) ||
        !marrowick::test::MakeFolderLink(out, dl + "/out", why)) {
        GTEST_SKIP() << "this system makes no junction: " << why;
    }
    std::string native = out;  // as Windows writes what the system resolves
    std::ranges::replace(native, '/', '\\');
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"--conflicts", dl},
         Summary(2, 2, 0, 0),
         dl + "/out: is a link to the folder " + native +
             ", outside the folders given; it is not followed.\n"},
        {{"--conflicts", dl, out}, Summary(3, 3, 1, 0), ""},
        {{"--conflicts", dl + "/in"}, Summary(1, 1, 0, 0), ""}};
    for (const auto& [arguments, summary, err] : cases) {
        const RunResult run = Inspect(arguments);
        EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), summary) << arguments.back();
        EXPECT_EQ(run.err, err) << arguments.back();
    }
    for (const char* link : {"/in", "/out"}) {
        marrowick::test::RemoveFolderLink(dl + link);
    }
}

// Paths past 260 characters are walked and read; names come through the
// command line, the table and JSON whole; an unpaired surrogate, which a name
// may hold but wine cannot make, is escaped in JSON and U+FFFD in text; the
// reserved device names are refused as Linux refuses a device.
TEST(OnWindows, LongPathsNamesAndDevices) {
    if (kPosix) {
        GTEST_SKIP() << "paths past 260 characters, UTF-16 names and reserved device names are "
                        "Windows' own";
    }
    Folder folder;
    const std::string deep = folder.root + "deep", level(100, 'd');
    fs::create_directories(FsPath(deep));
    const Bytes bottom = Guids("Bottom", {0x30});
    marrowick::test::MakeDeepFolders(deep, level, 3, bottom);
    const std::string long_ = deep + "/" + level + "/" + level + "/" + level + "/bottom.iff";
    const std::string name = "caf\xC3\xA9 \xE6\xBC\xA2\xE5\xAD\x97";
    const std::string named = folder.Write(name + "/" + name + ".iff", Guids("N", {0x40}));
    const std::string lone = folder.root + "lone \xED\xA0\x80.iff",
                      shown = folder.root + "lone \xEF\xBF\xBD.iff";
    const std::string missing = ": Could not open \"" + shown + "\": No such file or directory.\n";
    const auto device = [](const std::string& reserved) {
        return reserved + ": Could not open \"" + reserved +
               "\": it is a character device, not a file.\n";
    };
    struct Case {
        std::vector<std::string> arguments;
        bool program;     // run as a program: its arguments pass the command line
        std::string out;  // how standard output starts
        std::string err;
        int status;
    };
    const auto json = [](const std::string& file) {
        return "{\"file\": \"" + file + "\", \"error\": null, \"objects\": [{";
    };
    const std::string devices = device("NUL") + device("CON") + device("COM1");
    const Case cases[] = {
        {{"--json", deep}, false, json(long_), "", kAllRead},
        {{long_}, false, "File: " + long_ + "\n  Objects:\n", "", kAllRead},
        {{folder.root + name}, true, "File: " + named + "\n  Objects:\n", "", kAllRead},
        {{"--json", folder.root + name}, true, json(named), "", kAllRead},
        {{lone}, false, "File: " + shown + "\n", shown + missing, kFileError},
        {{"--json", lone},
         false,
         "{\"file\": \"" + folder.root + "lone \\ud800.iff\", ",
         shown + missing,
         kFileError},
        {{"NUL", "CON", "COM1"}, true, "File: NUL\n", devices, kFileError}};
    for (const Case& row : cases) {
        const RunResult run =
            row.program ? RunProgram(row.arguments, folder.root) : Inspect(row.arguments);
        EXPECT_EQ(run.out.substr(0, row.out.size()), row.out) << row.arguments.back();
        EXPECT_EQ(run.err, row.err) << row.arguments.back();
        EXPECT_EQ(run.status, row.status) << row.arguments.back();
    }
}

}  // namespace
}  // namespace marrowick::inspect::test
