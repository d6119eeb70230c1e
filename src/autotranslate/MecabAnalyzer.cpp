#include "MecabAnalyzer.h"

#include "Utf.h"

#include <mecab.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unordered_map>

namespace braille::autotranslate {

namespace {

// Control characters (C0 but the tab, DEL, C1) are no print: MeCab would stop at a NUL while the
// constraints stand at offsets of the whole text, so each goes in as a space, a word boundary,
// one byte for one UTF-16 unit.
bool isControl(char32_t c) { return (c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F); }

// UTF-16 to UTF-8, remembering for every byte offset the UTF-16 offset it came from, because
// MeCab reports words as byte positions.
std::string encode(std::u16string_view text, std::vector<std::size_t>& unitAt)
{
    std::string out;
    out.reserve(text.size() * 3);
    unitAt.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const std::size_t start = i;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        } else if (isControl(c)) {
            c = u' ';
        }
        const std::size_t before = out.size();
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
        unitAt.insert(unitAt.end(), out.size() - before, start);
    }
    unitAt.push_back(text.size());
    return out;
}

// The IPA dictionary's feature string: 品詞,細分類1,細分類2,細分類3,活用型,活用形,原形,読み,発音.
void readFeatures(const char* feature, Morpheme& m)
{
    std::vector<std::u16string> fields;
    std::string_view rest = feature;
    while (true) {
        const std::size_t comma = rest.find(',');
        fields.push_back(fromUtf8(rest.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    fields.resize(9, u"*");
    m.pos = fields[0];
    m.pos1 = fields[1];
    m.pos2 = fields[2];
    m.pos3 = fields[3];
    m.conjugationType = fields[4];
    m.conjugationForm = fields[5];
    m.baseForm = fields[6];
    m.reading = fields[7] == u"*" ? u"" : fields[7];
    m.pronunciation = fields[8] == u"*" ? u"" : fields[8];
}

} // namespace

struct MecabAnalyzer::Impl {
    std::unique_ptr<MeCab::Model> model;
    std::unique_ptr<MeCab::Tagger> tagger;
    std::unique_ptr<MeCab::Lattice> lattice;
    std::unique_ptr<MeCab::Lattice> probe;
    // Whether the dictionary's character classes make a character white space, which MeCab
    // skips before a word (its char.def: the ASCII space, the tab, Ð, ...).
    std::unordered_map<char32_t, bool> spaces;

    bool isSpace(std::u16string_view character);
};

bool MecabAnalyzer::Impl::isSpace(std::u16string_view character)
{
    std::vector<std::size_t> unitAt;
    const std::string utf8 = encode(character, unitAt);
    char32_t key = character[0];
    if (character.size() == 2)
        key = 0x10000 + ((key - 0xD800) << 10) + (character[1] - 0xDC00);
    if (isControl(key))
        return true;
    auto [it, fresh] = spaces.try_emplace(key, false);
    if (!fresh)
        return it->second;
    // Asked of MeCab itself: a space is skipped, so the first word starts after it.
    const std::string sentence = utf8 + "\xE3\x81\x82"; // あ
    probe->clear();
    probe->set_request_type(MECAB_ONE_BEST);
    probe->set_sentence(sentence.c_str(), sentence.size());
    if (tagger->parse(probe.get()))
        for (const MeCab::Node* node = probe->bos_node(); node; node = node->next)
            if (node->stat != MECAB_BOS_NODE) {
                it->second = node->surface != probe->sentence();
                break;
            }
    return it->second;
}

MecabAnalyzer::MecabAnalyzer(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
MecabAnalyzer::~MecabAnalyzer() = default;

std::vector<std::string> MecabAnalyzer::dictionaryCandidates()
{
    std::vector<std::string> dirs;
    // The variable, when set, is the only place looked at.
    if (const char* env = std::getenv("TENKORA_MECAB_DICDIR"); env && *env) {
        dirs.emplace_back(env);
        return dirs;
    }
    dirs.emplace_back("/var/lib/mecab/dic/ipadic-utf8");
#ifdef TENKORA_MECAB_DICDIR
    dirs.emplace_back(TENKORA_MECAB_DICDIR "/ipadic-utf8");
    dirs.emplace_back(TENKORA_MECAB_DICDIR "/ipadic");
#endif
    return dirs;
}

MecabAnalyzer::OpenResult MecabAnalyzer::open(const std::string& dictionaryDir)
{
    std::string dir = dictionaryDir;
    if (dir.empty()) {
        for (const std::string& candidate : dictionaryCandidates()) {
            std::error_code ec;
            if (std::filesystem::exists(std::filesystem::path(candidate) / "sys.dic", ec)) {
                dir = candidate;
                break;
            }
        }
        if (dir.empty()) {
            std::string tried;
            for (const std::string& candidate : dictionaryCandidates())
                tried += (tried.empty() ? "" : ", ") + candidate;
            return {nullptr, "no MeCab IPA dictionary found (looked in " + tried +
                                 "); install mecab-ipadic-utf8 or set TENKORA_MECAB_DICDIR"};
        }
    }
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(dir) / "sys.dic", ec))
        return {nullptr, "no MeCab dictionary in " + dir + " (sys.dic is missing)"};
    // An empty resource file: the dictionary's own dicrc says everything, so a missing or
    // foreign /etc/mecabrc cannot change the analysis.
    const std::string args = "-r /dev/null -d " + dir;
    auto impl = std::make_unique<Impl>();
    impl->model.reset(MeCab::createModel(args.c_str()));
    if (!impl->model)
        return {nullptr, "MeCab could not load the dictionary in " + dir + ": " + MeCab::getLastError()};
    impl->tagger.reset(impl->model->createTagger());
    impl->lattice.reset(impl->model->createLattice());
    impl->probe.reset(impl->model->createLattice());
    if (!impl->tagger || !impl->lattice || !impl->probe)
        return {nullptr, std::string("MeCab could not start: ") + MeCab::getLastError()};
    return {std::unique_ptr<MecabAnalyzer>(new MecabAnalyzer(std::move(impl))), {}};
}

namespace {

// The feature a user word is constrained to: a proper noun, so that the words around it are
// analysed as around a name.
constexpr const char* kUserWordFeature = "名詞,固有名詞,一般,*,*,*,*,*,*";

// The length MeCab keeps a word's bytes in (with the white space before it).
constexpr std::size_t kMaxWordBytes = 65535;

// A word of the line made the user's word: their braille, read as a proper noun.
void makeUserWord(Morpheme& m, const ForcedWord& f)
{
    readFeatures(kUserWordFeature, m);
    m.userWord = true;
    m.unknown = false;
    m.reading = f.braille;
    m.pronunciation.clear();
}

// `text` starts at `offset` in `line`; the words' places are in the line.
Morphemes collect(const MeCab::Node* node, const char* sentence, const std::vector<std::size_t>& unitAt,
                  std::u16string_view line, std::size_t offset, const std::vector<ForcedWord>& forced)
{
    Morphemes out;
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        Morpheme m;
        const std::size_t byte = std::size_t(node->surface - sentence);
        if (byte + node->length >= unitAt.size())
            break; // never past the text given
        m.begin = offset + unitAt[byte];
        m.end = offset + unitAt[byte + node->length];
        m.surface = std::u16string(line.substr(m.begin, m.end - m.begin));
        readFeatures(node->feature, m);
        m.unknown = node->stat == MECAB_UNK_NODE;
        for (const ForcedWord& f : forced)
            if (f.begin == m.begin && f.end == m.end)
                makeUserWord(m, f);
        out.push_back(std::move(m));
    }
    return out;
}

} // namespace

Morphemes MecabAnalyzer::analyze(std::u16string_view line, const std::vector<ForcedWord>& forced) const
{
    // A user word is one token through a constraint on MeCab's lattice. MeCab can honour one
    // only where a word can start: after the white space before it, which belongs to the word,
    // and not on white space itself; at whole characters; and within the length it keeps a
    // word's bytes in. Any other forced word cuts the line: the pieces either side are analysed
    // apart and the user word is put between them as it is.
    Morphemes out;
    std::vector<ForcedWord> constrained;
    std::size_t pieceStart = 0;
    auto isSpaceAt = [&](std::size_t at) {
        const std::size_t n = at + 1 < line.size() && line[at] >= 0xD800 && line[at] <= 0xDBFF &&
                                      line[at + 1] >= 0xDC00 && line[at + 1] <= 0xDFFF
                                  ? 2
                                  : 1;
        return m_impl->isSpace(line.substr(at, n));
    };
    for (const ForcedWord& f : forced) {
        if (f.begin < pieceStart || f.end <= f.begin || f.end > line.size())
            continue; // overlapping or outside the line: not a word of it
        ForcedWord c = f;
        const std::size_t floor = constrained.empty() ? pieceStart : constrained.back().end;
        while (c.begin > floor && isSpaceAt(c.begin - 1))
            --c.begin;
        std::size_t bytes = 0;
        for (std::size_t i = c.begin; i < c.end && bytes < kMaxWordBytes; ++i)
            bytes += line[i] < 0x80 ? 1 : line[i] < 0x800 || (line[i] >= 0xD800 && line[i] <= 0xDFFF) ? 2 : 3;
        // MeCab places words at characters: a word starting or ending inside a surrogate pair
        // cannot be one of its tokens.
        auto insidePair = [&](std::size_t at) {
            return at > 0 && at < line.size() && line[at - 1] >= 0xD800 && line[at - 1] <= 0xDBFF &&
                   line[at] >= 0xDC00 && line[at] <= 0xDFFF;
        };
        if (!isSpaceAt(f.begin) && bytes < kMaxWordBytes && !insidePair(f.begin) && !insidePair(f.end)) {
            constrained.push_back(c);
            continue;
        }
        appendPiece(line, pieceStart, f.begin, constrained, forced, out);
        Morpheme m;
        m.begin = f.begin;
        m.end = f.end;
        m.surface = std::u16string(line.substr(f.begin, f.end - f.begin));
        makeUserWord(m, f);
        out.push_back(std::move(m));
        pieceStart = f.end;
        constrained.clear();
    }
    appendPiece(line, pieceStart, line.size(), constrained, forced, out);
    return out;
}

void MecabAnalyzer::appendPiece(std::u16string_view line, std::size_t begin, std::size_t end,
                                const std::vector<ForcedWord>& constrained, const std::vector<ForcedWord>& forced,
                                Morphemes& out) const
{
    if (begin >= end)
        return;
    std::vector<std::size_t> unitAt;
    const std::u16string_view piece = line.substr(begin, end - begin);
    const std::string text = encode(piece, unitAt);
    MeCab::Lattice& lattice = *m_impl->lattice;
    lattice.clear();
    lattice.set_request_type(MECAB_ONE_BEST);
    lattice.set_sentence(text.c_str(), text.size());
    for (const ForcedWord& c : constrained) {
        // Byte offsets in the piece: the first byte of the constraint's first unit, and the
        // first byte past its last (the offsets grow with the units).
        const std::size_t from = std::size_t(std::lower_bound(unitAt.begin(), unitAt.end(), c.begin - begin) - unitAt.begin());
        const std::size_t to = std::size_t(std::lower_bound(unitAt.begin(), unitAt.end(), c.end - begin) - unitAt.begin());
        if (to > from)
            lattice.set_feature_constraint(from, to, kUserWordFeature);
    }
    if (!m_impl->tagger->parse(&lattice))
        return;
    Morphemes words = collect(lattice.bos_node(), lattice.sentence(), unitAt, line, begin, forced);
    out.insert(out.end(), std::make_move_iterator(words.begin()), std::make_move_iterator(words.end()));
}

std::vector<Morphemes> MecabAnalyzer::analyzeBest(std::u16string_view text, int count) const
{
    std::vector<std::size_t> unitAt;
    const std::string utf8 = encode(text, unitAt);
    MeCab::Lattice& lattice = *m_impl->lattice;
    lattice.clear();
    lattice.set_request_type(MECAB_NBEST);
    lattice.set_sentence(utf8.c_str(), utf8.size());
    std::vector<Morphemes> out;
    if (!m_impl->tagger->parse(&lattice))
        return out;
    for (int k = 0; k < count; ++k) {
        out.push_back(collect(lattice.bos_node(), lattice.sentence(), unitAt, text, 0, {}));
        if (!lattice.next())
            break;
    }
    lattice.set_request_type(MECAB_ONE_BEST);
    return out;
}

} // namespace braille::autotranslate
