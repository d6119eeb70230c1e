#include "MecabAnalyzer.h"

#include "DictionaryFeatures.h"
#include "Utf.h"

#include <mecab.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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


// A word both dictionaries cut alike, with the same part of speech, takes the second one's
// reading; numbers and counters keep the first's, and so do user words.
void takeSecondReadings(Morphemes& words, const Morphemes& other)
{
    std::size_t k = 0;
    for (Morpheme& m : words) {
        while (k < other.size() && other[k].begin < m.begin)
            ++k;
        if (k >= other.size())
            break;
        const Morpheme& o = other[k];
        if (m.userWord || o.begin != m.begin || o.end != m.end || o.unknown || o.reading.empty())
            continue;
        if (m.pos == u"名詞" && (m.pos1 == u"数" || m.pos2 == u"助数詞"))
            continue;
        if (m.unknown || o.pos == m.pos) {
            m.reading = o.reading;
            m.pronunciation = o.pronunciation;
            m.unknown = false;
        }
    }
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
    FeatureLayout layout = FeatureLayout::Ipa;
    // The dictionary asked for a second opinion on readings ($TENKORA_MECAB_SECOND_DICDIR).
    std::unique_ptr<MecabAnalyzer> second;

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

namespace {

// The dicrc written for a dictionary that comes without one: what the analysis reads of it (the
// feature of the sentence's ends and the charset); the rest of a dicrc serves training and
// MeCab's own output formats.
constexpr std::string_view kMinimalDicrc = "bos-feature = BOS/EOS,*,*,*,*,*,*,*,*\nconfig-charset = UTF-8\n";

MeCab::Model* createModel(const std::string& dir, std::string& error)
{
    // An empty resource file: the dictionary's own dicrc says everything, so a missing or
    // foreign /etc/mecabrc cannot change the analysis.
    const std::string args = "-r /dev/null -d " + dir;
    MeCab::Model* model = MeCab::createModel(args.c_str());
    if (!model)
        error = MeCab::getLastError();
    return model;
}

// MeCab will not load a dictionary without a dicrc beside it, and Debian's NAIST-jdic (built
// for a speech synthesiser that reads it without one) has none. Such a dictionary is loaded
// through a private folder of links to its files and a minimal dicrc; MeCab maps the files
// while it loads them, so the folder goes as soon as the model stands.
MeCab::Model* loadModel(const std::string& dir, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(fs::path(dir) / "dicrc", ec))
        return createModel(dir, error);
    std::string pattern = (fs::temp_directory_path(ec) / "tenkora-mecab-XXXXXX").string();
    if (ec || !mkdtemp(pattern.data())) {
        error = "it has no dicrc, and no temporary folder could be made to supply one";
        return nullptr;
    }
    const fs::path links = pattern;
    MeCab::Model* model = nullptr;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        fs::create_symlink(fs::absolute(entry.path(), ec), links / entry.path().filename(), ec);
        if (ec)
            break;
    }
    if (!ec) {
        std::ofstream dicrc(links / "dicrc");
        dicrc << kMinimalDicrc;
        dicrc.close();
        if (dicrc)
            model = createModel(links.string(), error);
        else
            error = "it has no dicrc, and none could be written beside a link to it";
    } else {
        error = "it has no dicrc, and its files could not be linked beside one: " + ec.message();
    }
    fs::remove_all(links, ec);
    return model;
}

// The IPA dictionary and NAIST-jdic call 本 名詞,一般; UniDic calls it 名詞,普通名詞,一般.
FeatureLayout detectLayout(MeCab::Tagger& tagger, MeCab::Lattice& probe)
{
    const std::string word = "\xE6\x9C\xAC"; // 本
    probe.clear();
    probe.set_request_type(MECAB_ONE_BEST);
    probe.set_sentence(word.c_str(), word.size());
    FeatureLayout layout = FeatureLayout::Ipa;
    // The dictionary asked for a second opinion on readings ($TENKORA_MECAB_SECOND_DICDIR).
    std::unique_ptr<MecabAnalyzer> second;
    if (tagger.parse(&probe))
        for (const MeCab::Node* node = probe.bos_node(); node; node = node->next)
            if (node->stat != MECAB_BOS_NODE && node->stat != MECAB_EOS_NODE) {
                const std::vector<std::u16string> fields = splitFeatures(node->feature);
                if (fields.size() > 1 && fields[1] == u"普通名詞")
                    layout = FeatureLayout::Unidic;
                break;
            }
    return layout;
}

} // namespace

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
    OpenResult opened = openDictionary(dir);
    if (!opened.analyzer)
        return opened;
    if (const char* env = std::getenv("TENKORA_MECAB_SECOND_DICDIR"); env && *env && std::string(env) != dir) {
        OpenResult second = openDictionary(env);
        if (!second.analyzer)
            return {nullptr, "the second dictionary: " + second.error};
        opened.analyzer->m_impl->second = std::move(second.analyzer);
    }
    return opened;
}

MecabAnalyzer::OpenResult MecabAnalyzer::openDictionary(const std::string& dir)
{
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::path(dir) / "sys.dic", ec))
        return {nullptr, "no MeCab dictionary in " + dir + " (sys.dic is missing)"};
    auto impl = std::make_unique<Impl>();
    std::string error;
    impl->model.reset(loadModel(dir, error));
    if (!impl->model)
        return {nullptr, "MeCab could not load the dictionary in " + dir + ": " + error};
    impl->tagger.reset(impl->model->createTagger());
    impl->lattice.reset(impl->model->createLattice());
    impl->probe.reset(impl->model->createLattice());
    if (!impl->tagger || !impl->lattice || !impl->probe)
        return {nullptr, std::string("MeCab could not start: ") + MeCab::getLastError()};
    impl->layout = detectLayout(*impl->tagger, *impl->probe);
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
    readFeatures(kUserWordFeature, FeatureLayout::Ipa, m);
    m.userWord = true;
    m.unknown = false;
    m.reading = f.braille;
    m.pronunciation.clear();
}

// `text` starts at `offset` in `line`; the words' places are in the line.
Morphemes collect(const MeCab::Node* node, const char* sentence, const std::vector<std::size_t>& unitAt,
                  std::u16string_view line, std::size_t offset, const std::vector<ForcedWord>& forced,
                  FeatureLayout layout)
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
        readFeatures(node->feature, layout, m);
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
    splitPhrases(out);
    relabelInContext(out, m_impl->layout);
    if (m_impl->second)
        takeSecondReadings(out, m_impl->second->analyze(line));
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
    Morphemes words = collect(lattice.bos_node(), lattice.sentence(), unitAt, line, begin, forced, m_impl->layout);
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
        out.push_back(collect(lattice.bos_node(), lattice.sentence(), unitAt, text, 0, {}, m_impl->layout));
        splitPhrases(out.back());
        relabelInContext(out.back(), m_impl->layout);
        if (!lattice.next())
            break;
    }
    lattice.set_request_type(MECAB_ONE_BEST);
    return out;
}

} // namespace braille::autotranslate
