#include "MecabAnalyzer.h"

#include "Utf.h"

#include <mecab.h>

#include <cstdlib>
#include <filesystem>

namespace braille::autotranslate {

namespace {

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
};

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
    if (!impl->tagger || !impl->lattice)
        return {nullptr, std::string("MeCab could not start: ") + MeCab::getLastError()};
    return {std::unique_ptr<MecabAnalyzer>(new MecabAnalyzer(std::move(impl))), {}};
}

namespace {

Morphemes collect(const MeCab::Node* node, const char* sentence, const std::vector<std::size_t>& unitAt,
                  std::u16string_view line, const std::vector<ForcedWord>& forced)
{
    Morphemes out;
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE)
            continue;
        Morpheme m;
        const std::size_t byte = std::size_t(node->surface - sentence);
        m.begin = unitAt[byte];
        m.end = unitAt[byte + node->length];
        m.surface = std::u16string(line.substr(m.begin, m.end - m.begin));
        readFeatures(node->feature, m);
        m.unknown = node->stat == MECAB_UNK_NODE;
        for (const ForcedWord& f : forced) {
            if (f.begin == m.begin && f.end == m.end) {
                m.userWord = true;
                m.unknown = false;
                m.reading = f.braille;
                m.pronunciation.clear();
            }
        }
        out.push_back(std::move(m));
    }
    return out;
}

} // namespace

Morphemes MecabAnalyzer::analyze(std::u16string_view line, const std::vector<ForcedWord>& forced) const
{
    std::vector<std::size_t> unitAt;
    const std::string text = encode(line, unitAt);
    MeCab::Lattice& lattice = *m_impl->lattice;
    lattice.clear();
    lattice.set_request_type(MECAB_ONE_BEST);
    lattice.set_sentence(text.c_str());
    // A user word is one token: no boundary inside it, one at each end, and a feature of a proper
    // noun so that the words around it are analysed as around a name.
    for (const ForcedWord& f : forced) {
        std::size_t from = 0, to = 0;
        while (from < unitAt.size() && unitAt[from] < f.begin)
            ++from;
        to = from;
        while (to < unitAt.size() - 1 && unitAt[to] < f.end)
            ++to;
        if (to <= from)
            continue;
        lattice.set_feature_constraint(from, to, "名詞,固有名詞,一般,*,*,*,*,*,*");
    }
    if (!m_impl->tagger->parse(&lattice))
        return {};
    return collect(lattice.bos_node(), lattice.sentence(), unitAt, line, forced);
}

std::vector<Morphemes> MecabAnalyzer::analyzeBest(std::u16string_view text, int count) const
{
    std::vector<std::size_t> unitAt;
    const std::string utf8 = encode(text, unitAt);
    MeCab::Lattice& lattice = *m_impl->lattice;
    lattice.clear();
    lattice.set_request_type(MECAB_NBEST);
    lattice.set_sentence(utf8.c_str());
    std::vector<Morphemes> out;
    if (!m_impl->tagger->parse(&lattice))
        return out;
    for (int k = 0; k < count; ++k) {
        out.push_back(collect(lattice.bos_node(), lattice.sentence(), unitAt, text, {}));
        if (!lattice.next())
            break;
    }
    lattice.set_request_type(MECAB_ONE_BEST);
    return out;
}

} // namespace braille::autotranslate
