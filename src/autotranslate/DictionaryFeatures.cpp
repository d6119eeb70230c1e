#include "DictionaryFeatures.h"

#include "Utf.h"

namespace braille::autotranslate {

namespace {

// Markers left in pos2 by the word-alone mapping for relabelInContext to settle; the IPA
// dictionary has no such names, so nothing downstream reads them as meaningful.
constexpr std::u16string_view kCounterCapable = u"助数詞可能";
constexpr std::u16string_view kAuxiliaryCapable = u"非自立可能";

std::u16string orStar(const std::u16string& field) { return field.empty() ? u"*" : field; }

void readIpa(std::vector<std::u16string>& fields, Morpheme& m)
{
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

// UniDic's part of speech as the IPA dictionary names it.
void mapUnidicPartOfSpeech(const std::u16string& p0, const std::u16string& p1, const std::u16string& p2,
                           const std::u16string& p3, Morpheme& m)
{
    auto set = [&m](std::u16string_view a, std::u16string_view b = u"*", std::u16string_view c = u"*",
                    std::u16string_view d = u"*") {
        m.pos = a;
        m.pos1 = b;
        m.pos2 = c;
        m.pos3 = d;
    };
    if (p0 == u"名詞") {
        if (p1 == u"普通名詞") {
            if (p2 == u"サ変可能" || p2 == u"サ変形状詞可能")
                set(u"名詞", u"サ変接続");
            else if (p2 == u"形状詞可能")
                set(u"名詞", u"形容動詞語幹");
            else if (p2 == u"副詞可能")
                set(u"名詞", u"副詞可能");
            else if (p2 == u"助数詞可能")
                set(u"名詞", u"一般", kCounterCapable);
            else
                set(u"名詞", u"一般");
        } else if (p1 == u"固有名詞") {
            if (p2 == u"人名")
                set(u"名詞", u"固有名詞", u"人名", orStar(p3)); // 姓, 名, 一般 as in the IPA names
            else if (p2 == u"地名")
                set(u"名詞", u"固有名詞", u"地域", orStar(p3)); // 一般, 国
            else
                set(u"名詞", u"固有名詞", u"一般");
        } else if (p1 == u"数詞") {
            set(u"名詞", u"数");
        } else if (p1 == u"助動詞語幹") {
            set(u"名詞", u"非自立", u"助動詞語幹");
        } else {
            set(u"名詞", orStar(p1), orStar(p2), orStar(p3));
        }
    } else if (p0 == u"代名詞") {
        set(u"名詞", u"代名詞", u"一般");
    } else if (p0 == u"形状詞") {
        if (p1 == u"助動詞語幹")
            set(u"名詞", u"非自立", u"助動詞語幹"); // そう of 降りそうだ, よう, みたい
        else
            set(u"名詞", u"形容動詞語幹");
    } else if (p0 == u"接頭辞") {
        set(u"接頭詞", u"名詞接続");
    } else if (p0 == u"接尾辞") {
        if (p1 == u"動詞的")
            set(u"動詞", u"接尾");
        else if (p1 == u"形容詞的")
            set(u"形容詞", u"接尾");
        else if (p1 == u"形状詞的")
            set(u"名詞", u"接尾", u"形容動詞語幹");
        else if (p2 == u"助数詞")
            set(u"名詞", u"接尾", u"助数詞");
        else if (p2 == u"副詞可能")
            set(u"名詞", u"接尾", u"副詞可能");
        else if (p2 == u"サ変可能")
            set(u"名詞", u"接尾", u"サ変接続");
        else
            set(u"名詞", u"接尾", u"一般");
    } else if (p0 == u"動詞" || p0 == u"形容詞") {
        set(p0, u"自立", p1 == u"非自立可能" ? kAuxiliaryCapable : u"*");
    } else if (p0 == u"助詞") {
        if (p1 == u"準体助詞")
            set(u"名詞", u"非自立", u"一般"); // の of 行くのが
        else
            set(u"助詞", orStar(p1));
    } else if (p0 == u"補助記号") {
        if (p1 == u"句点" || p1 == u"読点" || p1 == u"括弧開" || p1 == u"括弧閉")
            set(u"記号", p1);
        else
            set(u"記号", u"一般");
    } else if (p0 == u"記号") {
        set(u"記号", p1 == u"文字" ? u"アルファベット" : u"一般");
    } else if (p0 == u"空白") {
        set(u"記号", u"空白");
    } else if (p0 == u"感動詞") {
        if (p1 == u"フィラー")
            set(u"フィラー");
        else
            set(u"感動詞");
    } else if (p0 == u"副詞") {
        set(u"副詞", u"一般");
    } else {
        set(orStar(p0), orStar(p1), orStar(p2), orStar(p3)); // 助動詞, 連体詞, 接続詞
    }
}

// UniDic's conjugation form (活用形-細分類) as the IPA dictionary names it; the sound-change
// forms of the 連用形 (行っ, 問う before た and て) are the IPA 連用タ接続.
std::u16string mapUnidicConjugationForm(const std::u16string& form)
{
    if (form.empty())
        return u"*";
    if (form.ends_with(u"音便") && form.starts_with(u"連用形"))
        return u"連用タ接続";
    if (form.starts_with(u"終止形") || form.starts_with(u"連体形"))
        return u"基本形";
    if (form.starts_with(u"意志推量形"))
        return u"未然ウ接続";
    for (std::u16string_view stem : {u"連用形", u"未然形", u"仮定形", u"命令形"})
        if (form.starts_with(stem))
            return std::u16string(stem);
    return form;
}

void readUnidic(std::vector<std::u16string>& fields, Morpheme& m)
{
    // An unknown word carries only the part of speech and conjugation (six fields).
    fields.resize(24);
    mapUnidicPartOfSpeech(fields[0], fields[1], fields[2], fields[3], m);
    // 五段-カ行 → 五段・カ行; the ウ音便 of a ワア行 verb (問うた) is named in the type, as the IPA
    // dictionary names its 五段・ワ行ウ音便 verbs.
    std::u16string type = orStar(fields[4]);
    for (char16_t& c : type)
        if (c == u'-')
            c = u'・';
    if (fields[5] == u"連用形-ウ音便")
        type += u"ウ音便";
    m.conjugationType = type;
    m.conjugationForm = mapUnidicConjugationForm(fields[5]);
    m.baseForm = orStar(fields[10]); // 書字形基本形: する, not the lemma 為る
    m.reading = fields[20];          // 仮名形出現形: the kana as written (ハ for the particle は)
    m.pronunciation = fields[9];     // 発音形出現形: トーキョー
}

} // namespace

std::vector<std::u16string> splitFeatures(std::string_view feature)
{
    std::vector<std::u16string> fields;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < feature.size(); ++i) {
        const char c = feature[i];
        if (quoted) {
            if (c == '"' && i + 1 < feature.size() && feature[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && field.empty()) {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(fromUtf8(field));
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(fromUtf8(field));
    return fields;
}

void readFeatures(std::string_view feature, FeatureLayout layout, Morpheme& m)
{
    std::vector<std::u16string> fields = splitFeatures(feature);
    if (layout == FeatureLayout::Unidic)
        readUnidic(fields, m);
    else
        readIpa(fields, m);
}

void relabelInContext(Morphemes& words, FeatureLayout layout)
{
    if (layout != FeatureLayout::Unidic)
        return;
    auto isNumber = [](const Morpheme& m) { return !m.userWord && m.pos == u"名詞" && m.pos1 == u"数"; };
    for (std::size_t i = 0; i < words.size(); ++i) {
        Morpheme& m = words[i];
        if (m.userWord)
            continue;
        const Morpheme* previous = i > 0 && words[i - 1].end == m.begin ? &words[i - 1] : nullptr;
        const Morpheme* next = i + 1 < words.size() && words[i + 1].begin == m.end ? &words[i + 1] : nullptr;
        if (m.pos2 == kCounterCapable) {
            if (previous && isNumber(*previous)) {
                m.pos1 = u"接尾";
                m.pos2 = u"助数詞";
            } else {
                m.pos2 = u"*";
            }
        } else if (m.pos2 == kAuxiliaryCapable) {
            m.pos2 = u"*";
            if (m.pos == u"動詞" && m.baseForm == u"ある" && previous && previous->pos == u"助動詞" &&
                previous->surface == u"で") {
                m.pos = u"助動詞"; // であります
                m.pos1 = u"*";
                m.conjugationType = u"五段・ラ行アル";
            } else if (previous && previous->pos == u"助詞" && previous->pos1 == u"接続助詞" &&
                       (previous->surface == u"て" || previous->surface == u"で")) {
                m.pos1 = u"非自立"; // している, 読んでみる
            }
        }
        if (m.pos == u"接頭詞" && next && isNumber(*next))
            m.pos1 = u"数接続";
    }
}

namespace {

std::vector<std::u16string> splitAtColons(const std::u16string& text)
{
    std::vector<std::u16string> parts(1);
    for (char16_t c : text) {
        if (c == u':')
            parts.emplace_back();
        else if (c != u'’')
            parts.back() += c;
    }
    return parts;
}

std::u16string joined(const std::vector<std::u16string>& parts)
{
    std::u16string out;
    for (const std::u16string& p : parts)
        out += p;
    return out;
}

} // namespace

void splitPhrases(Morphemes& words)
{
    Morphemes out;
    out.reserve(words.size());
    for (Morpheme& m : words) {
        if (m.userWord || m.reading.find(u':') == std::u16string::npos) {
            if (!m.userWord && m.pronunciation.find(u'’') != std::u16string::npos)
                m.pronunciation = joined(splitAtColons(m.pronunciation));
            out.push_back(std::move(m));
            continue;
        }
        const std::vector<std::u16string> written = splitAtColons(m.baseForm);
        const std::vector<std::u16string> readings = splitAtColons(m.reading);
        const std::vector<std::u16string> sounds = splitAtColons(m.pronunciation);
        // Only an entry as written in its base form can be cut at the base form's colons (a
        // conjugated one keeps its reading whole).
        if (joined(written) != m.surface || readings.size() != written.size()) {
            m.reading = joined(readings);
            m.pronunciation = joined(sounds);
            out.push_back(std::move(m));
            continue;
        }
        std::size_t at = m.begin;
        for (std::size_t k = 0; k < written.size(); ++k) {
            Morpheme part = m;
            part.surface = written[k];
            part.begin = at;
            part.end = at + written[k].size();
            part.baseForm = written[k];
            part.reading = readings[k];
            part.pronunciation = sounds.size() == written.size() ? sounds[k] : std::u16string();
            at = part.end;
            out.push_back(std::move(part));
        }
    }
    words = std::move(out);
}

} // namespace braille::autotranslate
