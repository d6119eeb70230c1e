// Print books read from each kind of source: structure, readings, page labels, the cover and
// the colophon, and the messages for files that cannot be read.

#include "PrintBook.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <map>

namespace braille {
namespace {

using test::TempDir;
using test::u8;

std::filesystem::path importData()
{
    return test::sourceDir() / "tests" / "data" / "import";
}

// Zips the files under `folder` (mimetype first and stored, as EPUB wants) and `extra` entries
// into `zipPath`, leaving out the entries named in `omit`.
void zipFolder(const std::filesystem::path& folder, const std::filesystem::path& zipPath,
               const std::map<std::string, std::string>& extra = {}, const std::vector<std::string>& omit = {})
{
    std::map<std::string, std::string> entries;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder))
        if (item.is_regular_file())
            entries[std::filesystem::relative(item.path(), folder).generic_string()] = test::readBytes(item.path());
    for (const auto& [name, bytes] : extra)
        entries[name] = bytes;
    for (const std::string& name : omit)
        entries.erase(name);

    int error = 0;
    zip_t* archive = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    auto add = [&](const std::string& name, const std::string& bytes) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        ASSERT_NE(source, nullptr);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        ASSERT_GE(index, 0);
        if (name == "mimetype")
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    };
    if (entries.count("mimetype"))
        add("mimetype", entries["mimetype"]);
    for (const auto& [name, bytes] : entries)
        if (name != "mimetype")
            add(name, bytes);
    ASSERT_EQ(zip_close(archive), 0);
}

std::vector<std::string> texts(const std::vector<PrintParagraph>& paragraphs)
{
    std::vector<std::string> out;
    for (const PrintParagraph& p : paragraphs)
        out.push_back((p.kind == PrintParagraph::Heading ? "H" + std::to_string(p.level) + " " : std::string()) +
                      u8(p.text));
    return out;
}

std::string base(const PrintParagraph& p, const RubySpan& span)
{
    return u8(std::u16string_view(p.text).substr(span.begin, span.end - span.begin));
}

bool hasNoteWith(const ImportReport& report, std::string_view words)
{
    for (const std::string& note : report.notes)
        if (note.find(words) != std::string::npos)
            return true;
    return false;
}

const PrintBook& bookOf(const ImportResult& result)
{
    if (!result.book)
        ADD_FAILURE() << "no book: " << result.error;
    static const PrintBook empty;
    return result.book ? *result.book : empty;
}

TEST(ImportPlainText, LinesAreParagraphsInEachEncoding)
{
    TempDir dir;
    // UTF-8 with CR LF, blank lines between.
    test::writeBytes(dir.file("notes.txt"), "\xE4\xB8\x80\xE8\xA1\x8C\xE7\x9B\xAE\r\n\r\n  second line  \r\n\r\n");
    ImportResult utf8 = importPrintBook(dir.file("notes.txt"), {});
    EXPECT_EQ(texts(bookOf(utf8).body), (std::vector<std::string>{"一行目", "second line"}));
    EXPECT_EQ(bookOf(utf8).source, PrintBook::Source::PlainText);
    EXPECT_EQ(bookOf(utf8).report.paragraphs, 2u);

    // UTF-16 little-endian with its byte order mark, LF.
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : std::u16string(u"春\n\n夏\n")) {
        utf16.push_back(static_cast<char>(c & 0xFF));
        utf16.push_back(static_cast<char>(c >> 8));
    }
    test::writeBytes(dir.file("seasons.txt"), utf16);
    EXPECT_EQ(texts(bookOf(importPrintBook(dir.file("seasons.txt"), {})).body),
              (std::vector<std::string>{"春", "夏"}));

    // Shift_JIS found without being named, and the same bytes read as named.
    test::writeBytes(dir.file("sjis.txt"), "\x93\xFA\x96\x7B\x8C\xEA\n"); // 日本語
    EXPECT_EQ(texts(bookOf(importPrintBook(dir.file("sjis.txt"), {})).body), (std::vector<std::string>{"日本語"}));
    EXPECT_EQ(texts(bookOf(importPrintBook(dir.file("sjis.txt"), {"SHIFT_JIS"})).body),
              (std::vector<std::string>{"日本語"}));
}

TEST(ImportAozora, NotationGivesCoverHeadingsRubyAndColophon)
{
    const ImportResult result = importPrintBook(importData() / "aozora-sjis.txt", {});
    const PrintBook& book = bookOf(result);
    EXPECT_EQ(book.source, PrintBook::Source::AozoraText);
    EXPECT_EQ(u8(book.title), "春の小径");
    EXPECT_EQ(u8(book.author), "山田花子");
    EXPECT_EQ(texts(book.cover), (std::vector<std::string>{"春の小径", "山田花子"}));
    // The notation block is gone; page breaks end paragraphs; the annotations are not text.
    EXPECT_EQ(texts(book.body), (std::vector<std::string>{
                                    "H2 一　朝",
                                    "朝の小径を歩くと、古い石の橋が見えた。",
                                    "人々は静かに挨拶をした。",
                                    "H1 第二章",
                                    "犬はポチと呼ばれていた。",
                                    "H3 終わりに",
                                }));
    EXPECT_EQ(texts(book.colophon), (std::vector<std::string>{"底本：「春の小径」架空書房",
                                                              "2001（平成13）年4月1日第1刷発行", "入力：試験係"}));

    ASSERT_EQ(book.body.size(), 6u);
    // Without ｜ the base is the run of kanji before 《; with ｜ it starts at ｜.
    const PrintParagraph& walk = book.body[1];
    ASSERT_EQ(walk.ruby.size(), 2u);
    EXPECT_EQ(walk.ruby[0], (RubySpan{2, 4, u"こみち"}));
    EXPECT_EQ(base(walk, walk.ruby[1]), "石の橋");
    EXPECT_EQ(walk.ruby[1], (RubySpan{11, 14, u"いしのはし"}));
    // 々 belongs to the run of kanji.
    EXPECT_EQ(book.body[2].ruby, (std::vector<RubySpan>{{0, 2, u"ひとびと"}}));
    EXPECT_EQ(book.body[4].ruby, (std::vector<RubySpan>{{2, 4, u"ぽち"}}));

    EXPECT_EQ(book.report.droppedAnnotations, 2u); // ３字下げ and 傍点
    EXPECT_EQ(book.report.headings, 3u);
    EXPECT_EQ(book.report.rubySpans, 4u);
    EXPECT_EQ(book.report.paragraphs, 2u + 6u + 3u);
    EXPECT_TRUE(hasNoteWith(book.report, "改ページ"));
}

TEST(ImportEpub, SpineMetadataPagesRubyAndImages)
{
    TempDir dir;
    zipFolder(importData() / "epub3", dir.file("river.epub"));
    const ImportResult result = importPrintBook(dir.file("river.epub"), {});
    const PrintBook& book = bookOf(result);
    EXPECT_EQ(book.source, PrintBook::Source::Epub);
    EXPECT_EQ(u8(book.title), "川辺の記録");
    EXPECT_EQ(u8(book.author), "佐藤一郎");
    EXPECT_EQ(texts(book.cover), (std::vector<std::string>{"川辺の記録", "佐藤一郎"}));
    // Both chapters in spine order; the navigation document is not text.
    EXPECT_EQ(texts(book.body), (std::vector<std::string>{
                                    "H1 第一章　川辺",
                                    "朝早く水鳥が飛んだ。",
                                    "柳の下で舟人が休む。",
                                    "次の頁の文。",
                                    "川の写真",
                                    "一つ目",
                                    "二つ目",
                                    "H2 第二章",
                                    "夕方の川。 静か。",
                                    "場所 時刻",
                                    "橋 五時",
                                }));
    ASSERT_EQ(book.body.size(), 11u);
    // Readings, <rp> left out, one base per <rt>.
    EXPECT_EQ(book.body[0].ruby, (std::vector<RubySpan>{{4, 6, u"かわべ"}}));
    EXPECT_EQ(book.body[1].ruby, (std::vector<RubySpan>{{3, 5, u"みずとり"}}));
    EXPECT_EQ(book.body[2].ruby, (std::vector<RubySpan>{{4, 5, u"ふね"}, {5, 6, u"びと"}}));
    // Pages: from the page list (p1 on the heading), a pagebreak's title, a doc-pagebreak's
    // aria-label in the next chapter.
    std::vector<std::string> labels;
    for (const PrintParagraph& p : book.body)
        labels.push_back(u8(p.pageLabel));
    EXPECT_EQ(labels, (std::vector<std::string>{"1", "", "", "2", "", "", "", "", "3", "", ""}));
    EXPECT_EQ(book.report.pages, 3u);
    EXPECT_EQ(book.report.imagesWithoutAlt, 1u);
    EXPECT_EQ(book.report.rubySpans, 4u);
}

TEST(ImportDocx, StylesRubyTablesAndFootnotes)
{
    TempDir dir;
    zipFolder(importData() / "docx", dir.file("report.docx"));
    const ImportResult result = importPrintBook(dir.file("report.docx"), {});
    const PrintBook& book = bookOf(result);
    EXPECT_EQ(book.source, PrintBook::Source::Docx);
    EXPECT_EQ(u8(book.title), "報告書");
    EXPECT_EQ(u8(book.author), "鈴木");
    // Heading1 by its id, 見出し 2 by its outline level, a style based on Heading1, a direct
    // outline level; table rows with cells joined; deleted text left out; the footnote last.
    EXPECT_EQ(texts(book.body), (std::vector<std::string>{
                                    "H1 報告書",
                                    "H2 一　はじめに",
                                    "この調査は春に行った。（注1）",
                                    "地域 件数",
                                    "北 十二",
                                    "H1 結果",
                                    "H3 細目",
                                    "終わり。",
                                    "注1　四月から五月まで。",
                                }));
    ASSERT_GE(book.body.size(), 3u);
    EXPECT_EQ(book.body[2].ruby, (std::vector<RubySpan>{{2, 4, u"ちょうさ"}}));
    EXPECT_EQ(book.report.headings, 4u);
}

TEST(ImportHtml, ParsedAsHtmlWithRubyHeadingsAndTitle)
{
    const ImportResult result = importPrintBook(importData() / "page.html", {});
    const PrintBook& book = bookOf(result);
    EXPECT_EQ(book.source, PrintBook::Source::Html);
    // No h1: <title> is the title, and the cover carries it with the author.
    EXPECT_EQ(u8(book.title), "星の話");
    EXPECT_EQ(texts(book.cover), (std::vector<std::string>{"星の話", "田中"}));
    // Unclosed <p> as HTML closes them; <br> ends a paragraph; script is not text.
    EXPECT_EQ(texts(book.body), (std::vector<std::string>{
                                    "H2 夜空",
                                    "今夜は北斗七星が見える。",
                                    "明日も晴れ。",
                                    "星座の名前を覚えた。",
                                    "H3 注意",
                                    "暗い場所で見る。",
                                }));
    ASSERT_EQ(book.body.size(), 6u);
    EXPECT_EQ(book.body[1].ruby, (std::vector<RubySpan>{{3, 5, u"ほくと"}}));
    EXPECT_EQ(book.body[3].ruby, (std::vector<RubySpan>{{3, 5, u"なまえ"}}));
}

TEST(ImportBadInput, RefusedWithOneClearLine)
{
    TempDir dir;
    auto refused = [](const ImportResult& result) {
        EXPECT_FALSE(result.book.has_value());
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
        return result.error;
    };

    // A ZIP cut short.
    zipFolder(importData() / "epub3", dir.file("whole.epub"));
    const std::string whole = test::readBytes(dir.file("whole.epub"));
    test::writeBytes(dir.file("cut.epub"), std::string_view(whole).substr(0, whole.size() / 2));
    const std::string cut = refused(importPrintBook(dir.file("cut.epub"), {}));
    EXPECT_EQ(cut.rfind("cut.epub: ", 0), 0u) << cut;
    EXPECT_NE(cut.find("truncated"), std::string::npos) << cut;

    // An EPUB whose chapters are encrypted.
    zipFolder(importData() / "epub3", dir.file("locked.epub"),
              {{"META-INF/encryption.xml", test::readBytes(importData() / "epub-encryption.xml")}});
    const std::string locked = refused(importPrintBook(dir.file("locked.epub"), {}));
    EXPECT_EQ(locked, "locked.epub: it is protected by DRM (its chapters are encrypted) and cannot be read.");

    // A DOCX without its document.
    zipFolder(importData() / "docx", dir.file("empty.docx"), {}, {"word/document.xml"});
    EXPECT_EQ(refused(importPrintBook(dir.file("empty.docx"), {})),
              "empty.docx: it has no word/document.xml: it is not a Word document.");

    // Text in an encoding with no such name, and text that is not of the encoding named.
    test::writeBytes(dir.file("text.txt"), "\x93\xFA\x96\x7B\n");
    EXPECT_EQ(refused(importPrintBook(dir.file("text.txt"), {"NO-SUCH-ENCODING"})),
              "text.txt: the encoding \"NO-SUCH-ENCODING\" is not one this system knows.");
    EXPECT_EQ(refused(importPrintBook(dir.file("text.txt"), {"UTF-8"})),
              "text.txt: the text is not valid UTF-8 (at byte 0).");

    // Text that is none of the encodings found without a name.
    test::writeBytes(dir.file("garbled.txt"), "ab\xFF\xFF" "cd\n");
    EXPECT_EQ(refused(importPrintBook(dir.file("garbled.txt"), {})),
              "garbled.txt: the text is neither UTF-8, UTF-16 with a byte order mark nor Shift_JIS (at byte 2); "
              "name its encoding.");

    // Nothing to import, and a kind of file no reader takes.
    test::writeBytes(dir.file("blank.txt"), "\r\n  \r\n");
    EXPECT_EQ(refused(importPrintBook(dir.file("blank.txt"), {})), "blank.txt: it holds no text to import.");
    test::writeBytes(dir.file("picture.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    EXPECT_NE(refused(importPrintBook(dir.file("picture.png"), {})).find("not a kind of file"), std::string::npos);
    EXPECT_NE(refused(importPrintBook(dir.file("missing.txt"), {})).find("cannot be read"), std::string::npos);
}

} // namespace
} // namespace braille
