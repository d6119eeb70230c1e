#include "AutoTranslator.h"

#include "ContextReadings.h"
#include "KanaSpelling.h"
#include "KnownReadings.h"
#include "NumberReading.h"
#include "Utf.h"
#include "WordSpacing.h"

#include <algorithm>
#include <array>

namespace braille::autotranslate {

namespace {

// Words written alike but read differently by sense; the analyser picks one reading and the
// transcriber should check it.
struct Homograph {
    std::u16string_view surface;
    std::u16string_view readings;
};
constexpr std::array<Homograph, 20> kHomographs{{
    {u"入れ", u"イレ / ハイレ"},
    {u"山路", u"ヤマミチ / ヤマジ"},
    {u"降り", u"フリ / オリ"},
    {u"間髪", u"カンハツ (not カンパツ)"},
    {u"今日", u"キョー / コンニチ"},
    {u"明日", u"アシタ / アス / ミョーニチ"},
    {u"昨日", u"キノー / サクジツ"},
    {u"一日", u"ツイタチ / イチニチ"},
    {u"一番", u"イチバン / 1バン"},
    {u"何", u"ナニ / ナン"},
    {u"方", u"カタ / ホー"},
    {u"行っ", u"イッ(タ) / オコナッ(タ)"},
    {u"上手", u"ジョーズ / ウワテ / カミテ"},
    {u"等", u"ナド / ラ / トー"},
    {u"人気", u"ニンキ / ヒトケ"},
    {u"大事", u"ダイジ / オオゴト"},
    {u"生物", u"セイブツ / ナマモノ"},
    {u"目下", u"モッカ / メシタ"},
    {u"最中", u"サイチュー / サナカ / モナカ"},
    {u"後", u"アト / ノチ / ゴ / ウシロ"},
}};

std::u16string_view homographReadings(std::u16string_view surface)
{
    for (const Homograph& h : kHomographs)
        if (h.surface == surface)
            return h.readings;
    return {};
}

bool isAsciiOrLatin(std::u16string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char16_t c) {
        return (c >= u'!' && c <= u'~') || (c >= u'！' && c <= u'～');
    });
}

bool allKanji(std::u16string_view s) { return !s.empty() && std::all_of(s.begin(), s.end(), isKanji); }

std::vector<WordCount> sortedCounts(std::vector<WordCount> counts)
{
    std::stable_sort(counts.begin(), counts.end(), [](const WordCount& a, const WordCount& b) { return a.count > b.count; });
    return counts;
}

bool isNumberJoiner(std::u16string_view symbol)
{
    return symbol == u"-" || symbol == u"－" || symbol == u"‐" || symbol == u"〜" || symbol == u"～" || symbol == u"~";
}

// The verbs read after the honorific prefix (お読み, お申し込み): the prefix's word, and the verbs
// written on after it.
void markHonorifics(std::vector<Token>& tokens)
{
    const Token* lastWord = nullptr;
    for (Token& t : tokens) {
        if (t.kind == Token::Space)
            continue;
        if (t.kind == Token::Word && t.head->pos == u"動詞" && lastWord) {
            const Morpheme& p = *lastWord->tail;
            const bool prefix = p.pos == u"接頭詞" && (p.surface == u"お" || p.surface == u"ご" || p.surface == u"御");
            t.honorific = prefix || (lastWord->honorific && t.head->pos1 == u"自立" && attaches(*lastWord, t));
        }
        lastWord = t.kind == Token::Word || t.kind == Token::Number ? &t : nullptr;
    }
}

// Puts the blanks between the tokens of a line into the braille, and records each word with the
// span of braille it became.
void placeWords(std::u16string_view line, std::size_t offset, const std::vector<Token>& tokens, Translation& out)
{
    const Token* lastWord = nullptr;
    std::u16string& braille = out.braille;
    auto blankAllowed = [&] { return !braille.empty() && braille.back() != u'\n' && braille.back() != u'\u3000'; };
    const Token* previous = nullptr;
    bool printSpace = false;
    for (const Token& t : tokens) {
        bool blank = false;
        switch (t.kind) {
        case Token::Space:
            // Decided with the word after it.
            printSpace = true;
            continue;
        case Token::Punctuation:
        case Token::CloseBracket:
            break; // the rules put the blanks after 、 and 。
        case Token::OpenBracket:
            blank = previous && (previous->kind == Token::Word || previous->kind == Token::Number ||
                                 previous->kind == Token::CloseBracket);
            break;
        case Token::Word:
        case Token::Number:
            // 中点 is followed by a blank (the dot alone before a kana would read as the voicing
            // sign); the typing rules add none after it, so the translation writes it.
            if (previous && previous->kind == Token::Punctuation && previous->kana == u"・") {
                blank = true;
            } else if (previous && (previous->kind == Token::Word || previous->kind == Token::Number ||
                                    previous->kind == Token::CloseBracket)) {
                blank = !(lastWord && attaches(*lastWord, t));
                // A space the print puts between two nouns is kept (東京 大学); one before a
                // particle or a suffix is only typography.
                if (printSpace && t.head->pos == u"名詞" && t.head->pos1 != u"接尾" && t.head->pos1 != u"非自立")
                    blank = true;
            }
            break;
        }
        printSpace = false;
        if (blank && blankAllowed())
            braille += u'\u3000';
        TranslatedWord w;
        w.print = std::u16string(line.substr(t.begin, t.end - t.begin));
        w.printBegin = offset + t.begin;
        w.printEnd = offset + t.end;
        w.brailleBegin = braille.size();
        braille += t.kana;
        w.brailleEnd = braille.size();
        w.blankBefore = blank;
        w.braille = t.kana;
        w.rule = t.rule;
        if (t.kind == Token::Number) {
            w.partOfSpeech = u"名詞,数";
            for (const Morpheme* m = t.head; m <= t.tail; ++m)
                w.reading += m->reading.empty() ? m->surface : m->reading;
        } else {
            w.partOfSpeech = t.head->pos + (t.head->pos1 != u"*" ? u"," + t.head->pos1 : u"");
            w.reading = t.head->reading;
        }
        if (t.head->userWord)
            w.partOfSpeech = u"user dictionary";
        out.words.push_back(std::move(w));
        if (t.kind == Token::Word || t.kind == Token::Number)
            lastWord = &t;
        previous = &t;
    }
}

} // namespace

std::size_t totalCount(const std::vector<WordCount>& words)
{
    std::size_t total = 0;
    for (const WordCount& w : words)
        total += std::size_t(w.count);
    return total;
}

AutoTranslator::AutoTranslator(std::unique_ptr<MecabAnalyzer> analyzer) : m_analyzer(std::move(analyzer)) {}
AutoTranslator::~AutoTranslator() = default;

AutoTranslator::OpenResult AutoTranslator::open(const std::string& dictionaryDir)
{
    MecabAnalyzer::OpenResult opened = MecabAnalyzer::open(dictionaryDir);
    if (!opened.analyzer)
        return {nullptr, opened.error};
    return {std::unique_ptr<AutoTranslator>(new AutoTranslator(std::move(opened.analyzer))), {}};
}

const Morphemes& AutoTranslator::components(const Morpheme& m) const
{
    static const Morphemes none;
    if (m.userWord || m.pos != u"名詞" || m.surface.size() < 4 || !allKanji(m.surface) || m.reading.empty() ||
        !(m.pos1 == u"一般" || m.pos1 == u"固有名詞" || m.pos1 == u"サ変接続"))
        return none;
    auto [it, fresh] = m_componentCache.try_emplace(m.surface);
    if (!fresh)
        return it->second;
    for (Morphemes& parse : m_analyzer->analyzeBest(m.surface, 8)) {
        if (parse.size() < 2)
            continue;
        std::u16string reading;
        bool nouns = true;
        for (const Morpheme& part : parse) {
            reading += part.reading;
            nouns = nouns && part.pos == u"名詞" && part.pos1 != u"数" && !part.reading.empty();
        }
        // The same reading, and every part read as it is on its own: a compound with a sound
        // change at the joint (株式会社 カブシキガイシャ, 会社 alone カイシャ) is lexicalised and
        // stays one word.
        if (!nouns || reading != m.reading)
            continue;
        for (std::size_t k = 1; k < parse.size() && nouns; ++k) {
            const std::vector<Morphemes> alone = m_analyzer->analyzeBest(parse[k].surface, 1);
            nouns = !alone.empty() && alone[0].size() == 1 && alone[0][0].reading == parse[k].reading;
        }
        if (!nouns)
            continue;
        Morphemes result;
        for (const Morpheme& part : parse) {
            // A part that is itself a long compound (国際大学) is cut again.
            const Morphemes& inner = components(part);
            if (inner.empty())
                result.push_back(part);
            for (Morpheme innerPart : inner) {
                innerPart.begin += part.begin;
                innerPart.end += part.begin;
                result.push_back(std::move(innerPart));
            }
        }
        it = m_componentCache.find(m.surface);
        it->second = std::move(result);
        break;
    }
    return it->second;
}

void AutoTranslator::translateLine(std::u16string_view line, std::size_t offset, const std::vector<GivenReading>& given,
                                   Translation& out,
                                   std::unordered_map<std::u16string, std::size_t>& guessed,
                                   std::unordered_map<std::u16string, std::size_t>& unknown) const
{
    // The print's own readings (ruby) of this line, in line offsets.
    struct Ruby {
        std::size_t begin, end;
        std::u16string kana; // katakana
    };
    std::vector<Ruby> rubies;
    for (auto g = std::lower_bound(given.begin(), given.end(), offset,
                                   [](const GivenReading& r, std::size_t at) { return r.begin < at; });
         g != given.end() && g->begin < offset + line.size(); ++g)
        if (g->end > g->begin && g->end <= offset + line.size() && !g->kana.empty())
            rubies.push_back({g->begin - offset, g->end - offset, toKatakana(g->kana)});
    // The user dictionary's words, outside the ruby (which wins).
    auto inRuby = [&](std::size_t begin, std::size_t end) {
        return std::any_of(rubies.begin(), rubies.end(), [&](const Ruby& r) { return begin < r.end && r.begin < end; });
    };
    std::vector<ForcedWord> forced;
    if (!m_user.empty()) {
        for (std::size_t at = 0; at < line.size();) {
            const UserReading* entry = m_user.match(line, at);
            if (entry && !inRuby(at, at + entry->print.size())) {
                forced.push_back({at, at + entry->print.size(), entry->braille});
                at += entry->print.size();
            } else {
                ++at;
            }
        }
    }
    Morphemes morphemes = m_analyzer->analyze(line, forced);
    // A ruby the analysis already reads so (東京 とうきょう, 行《い》く, 美《うつく》しい) changes
    // nothing: the dictionary's spelling and spacing stand. One that reads a word otherwise gives
    // that word its reading (大勢《おおぜい》), its okurigana kept; one that no word of the analysis
    // lines up with is forced as a word of its own.
    struct Override {
        std::size_t begin, end;
        std::u16string reading;
    };
    std::vector<Override> overrides;
    std::vector<ForcedWord> forcedRuby;
    for (const Ruby& r : rubies) {
        auto holder = std::find_if(morphemes.begin(), morphemes.end(),
                                   [&](const Morpheme& m) { return m.begin <= r.begin && r.begin < m.end; });
        if (holder == morphemes.end() || holder->userWord) {
            forcedRuby.push_back({r.begin, r.end, spellGivenReading(r.kana)});
            continue;
        }
        // The readings of the words the ruby's text lies in.
        std::u16string read;
        auto last = holder;
        for (auto it = holder; it != morphemes.end() && it->begin < r.end; ++it) {
            read += toKatakana(it->reading);
            last = it;
        }
        if (read.find(r.kana) != std::u16string::npos) {
            for (auto it = holder; it != std::next(last); ++it)
                it->givenReading = true; // read so already
            continue;
        }
        if (holder == last && holder->begin == r.begin) {
            // One word: the ruby's reading, then the okurigana as written.
            const std::u16string tail = toKatakana(holder->surface.substr(r.end - holder->begin));
            overrides.push_back({holder->begin, holder->end, r.kana + tail});
            continue;
        }
        forcedRuby.push_back({r.begin, r.end, spellGivenReading(r.kana)});
    }
    if (!forcedRuby.empty()) {
        forced.insert(forced.end(), forcedRuby.begin(), forcedRuby.end());
        std::sort(forced.begin(), forced.end(), [](const ForcedWord& a, const ForcedWord& b) { return a.begin < b.begin; });
        morphemes = m_analyzer->analyze(line, forced);
    }
    for (const Override& o : overrides)
        for (Morpheme& m : morphemes)
            if (m.begin == o.begin && m.end == o.end && !m.userWord) {
                m.reading = o.reading;
                m.pronunciation = spellGivenReading(o.reading);
                m.givenReading = true;
            }

    // The shipped readings, then the readings the neighbouring words decide.
    applyKnownReadings(knownReadings(), morphemes);
    readByContext(morphemes);

    std::deque<Morpheme> parts; // components of long compounds, owned here for the tokens
    auto count = [&](std::unordered_map<std::u16string, std::size_t>& index, std::vector<WordCount>& list,
                     const std::u16string& word, std::u16string_view note) {
        auto [it, fresh] = index.try_emplace(word, list.size());
        if (fresh)
            list.push_back({word, std::u16string(note), 0});
        ++list[it->second].count;
    };

    std::vector<Token> tokens;
    for (std::size_t i = 0; i < morphemes.size(); ++i) {
        const Morpheme& m = morphemes[i];
        Token t;
        t.head = t.tail = &m;
        t.begin = m.begin;
        t.end = m.end;
        // The analyser skips spaces; a space in the print is a blank in braille.
        if (const std::size_t before = tokens.empty() ? 0 : tokens.back().end; m.begin > before) {
            Token space = t;
            space.kind = Token::Space;
            space.begin = before;
            space.end = m.begin;
            tokens.push_back(std::move(space));
        }
        // A hyphen or a wave dash between two numbers (06-6441-1068, 3〜5) joins them without
        // blanks: the rules put the connector after the hyphen and the number sign again. (The
        // analyser takes an ASCII hyphen for a noun.)
        if (!m.userWord && isNumberJoiner(m.surface) && !tokens.empty() && tokens.back().kind == Token::Number &&
            i + 1 < morphemes.size() && morphemes[i + 1].pos == u"名詞" && morphemes[i + 1].pos1 == u"数") {
            t.kind = Token::Punctuation;
            t.kana = m.surface;
            tokens.push_back(std::move(t));
            continue;
        }
        // A kanji the analyser takes for a symbol (one outside its tables, 𠀋) is a word without
        // a reading: it is marked, not dropped.
        const bool kanjiSymbol = std::any_of(m.surface.begin(), m.surface.end(),
                                             [](char16_t c) { return isKanji(c) || (c >= 0xD800 && c <= 0xDBFF); });
        if (m.pos == u"記号" && !m.userWord && !kanjiSymbol) {
            if (m.pos1 == u"空白")
                t.kind = Token::Space;
            else if (m.pos1 == u"括弧開")
                t.kind = Token::OpenBracket;
            else if (m.pos1 == u"括弧閉")
                t.kind = Token::CloseBracket;
            else if (m.pos1 == u"句点" || m.pos1 == u"読点" || m.surface == u"・" || m.surface == u"，" ||
                     m.surface == u"．" || m.surface == u"？" || m.surface == u"！" || m.surface == u"?" ||
                     m.surface == u"!")
                t.kind = Token::Punctuation; // written on after the word, as 、 and 。 are

            t.kana = m.surface;
            tokens.push_back(std::move(t));
            continue;
        }
        if (m.pos == u"名詞" && m.pos1 == u"数") {
            // A number: its numerals together, then the counter after it.
            std::size_t last = i;
            std::u16string print = m.surface;
            // A user word is never part of a number nor its counter: it keeps its own braille.
            auto isNumeral = [&](std::size_t k) {
                return k < morphemes.size() && morphemes[k].pos == u"名詞" && morphemes[k].pos1 == u"数";
            };
            auto isSeparator = [&](std::size_t k) {
                return k < morphemes.size() && !morphemes[k].userWord && morphemes[k].surface.size() == 1 &&
                       std::u16string_view(u".,．，").find(morphemes[k].surface[0]) != std::u16string_view::npos;
            };
            // 3.14 and 1,000 come as digits and a separator; they are one number.
            while (isNumeral(last + 1) || (isSeparator(last + 1) && isNumeral(last + 2))) {
                ++last;
                print += morphemes[last].surface;
            }
            Numeral numeral = spellNumeral(print);
            if (print == u"何") {
                // 何 counts as a number before a counter (何回, 何本): ナン, the counter sounding
                // as after サン (ナンボン, ナンビキ, ナンガイ).
                numeral.kana = u"ナン";
                numeral.value = 3;
                numeral.kanji = false;
            }
            t.kind = Token::Number;
            t.kana = numeral.kana;
            t.rule = numeral.kanji ? u"kanji numerals as digits" : u"";
            if (numeral.kana.find(u'マ') != std::u16string::npos || numeral.kana.find(u'オ') != std::u16string::npos)
                t.rule += std::u16string(t.rule.empty() ? u"" : u"; ") + u"万/億 in kana";
            t.tail = &morphemes[last];
            t.end = morphemes[last].end;
            if (last + 1 < morphemes.size()) {
                const Morpheme& c = morphemes[last + 1];
                // 3分の, not a fraction: the counter 分 and the particle (21プンノ); 3分の1 stays
                // as the dictionary reads it (サンブンノ).
                const bool minutesOf = c.surface == u"分の" && !isNumeral(last + 2);
                // 3月末, 4月初め: a word of the month read ゲツ alone is ガツ after a number.
                const bool monthWord = !c.userWord && c.reading.starts_with(u"ゲツ") &&
                                       (c.surface == u"月末" || c.surface == u"月初" || c.surface == u"月初め" ||
                                        c.surface == u"月半ば");
                if (monthWord) {
                    Morpheme rest = c;
                    rest.reading = c.reading.substr(2);
                    rest.pronunciation.clear();
                    t.kana += u"ガツ" + spellMorpheme(rest).kana;
                    t.rule += std::u16string(t.rule.empty() ? u"" : u"; ") + u"month counter";
                    ++last;
                    t.tail = &c;
                    t.end = c.end;
                } else if (c.pos == u"名詞" && !c.userWord && (c.pos2 == u"助数詞" || isCounterNoun(c.surface))) {
                    const std::u16string counter = minutesOf ? u"分" : c.surface;
                    std::optional<CounterSpelling> cs = spellCounter(numeral, counter);
                    // A counter of a span (分間, 秒間) sounds as the counter does, then カン.
                    if (!cs && counter.size() > 1 && counter.back() == u'間') {
                        cs = spellCounter(numeral, std::u16string_view(counter).substr(0, counter.size() - 1));
                        if (cs && !cs->wholeWord)
                            cs->kana += u"カン";
                        else
                            cs.reset();
                    }
                    if (print == u"何" && (c.surface == u"日" || (cs && cs->wholeWord)))
                        cs = CounterSpelling{c.surface == u"日" ? u"ニチ" : toKatakana(c.reading), u"", false}; // 何日 ナンニチ
                    if (cs && cs->wholeWord) {
                        t.kana = cs->kana;
                        t.rule = cs->rule;
                    } else if (cs) {
                        t.kana += cs->kana;
                        if (!cs->rule.empty())
                            t.rule += std::u16string(t.rule.empty() ? u"" : u"; ") + cs->rule;
                    } else {
                        t.kana += spellMorpheme(c).kana;
                    }
                    if (minutesOf && cs)
                        t.kana += u"ノ";
                    ++last;
                    t.tail = &c;
                    t.end = c.end;
                    const std::u16string whole = print + c.surface;
                    if (numeral.value == 1 && numeral.kanji && c.surface == u"日") {
                        // 一日 is the first of a month after one (来月一日, 5月一日), a day's length
                        // otherwise (一日中, 一日の気温): both in kana.
                        const bool afterMonth = i > 0 && morphemes[i - 1].surface.ends_with(u"月");
                        t.kana = afterMonth ? u"ツイタチ" : u"イチニチ";
                        t.rule = afterMonth ? u"一日 after a month as ツイタチ" : u"一日 as イチニチ";
                        if (!afterMonth)
                            count(guessed, out.guessed, whole, u"ツイタチ / イチニチ");
                    } else if (numeral.value == 1 && c.surface == u"日" && !numeral.kanji) {
                        count(guessed, out.guessed, whole, u"ツイタチ / イチニチ");
                    } else if (numeral.value == 3 && c.surface == u"軒")
                        count(guessed, out.guessed, whole, u"ケン / ゲン");
                }
            }
            tokens.push_back(std::move(t));
            i = last;
            continue;
        }
        // The months the dictionary holds whole (四月 シガツ) are numbers with their counter.
        if (m.pos == u"名詞" && !m.userWord && m.surface.size() >= 2 && m.surface.back() == u'月' && m.reading.ends_with(u"ガツ") &&
            std::all_of(m.surface.begin(), m.surface.end() - 1,
                        [](char16_t c) { return std::u16string_view(u"一二三四五六七八九十").find(c) != std::u16string_view::npos; })) {
            t.kind = Token::Number;
            t.kana = spellNumeral(std::u16string_view(m.surface).substr(0, m.surface.size() - 1)).kana + u"ガツ";
            t.rule = u"kanji numerals as digits; month counter";
            tokens.push_back(std::move(t));
            continue;
        }
        if ((m.unknown && !isAsciiOrLatin(m.surface)) ||
            (m.reading.empty() && !m.userWord && !isKana(m.surface) && !isAsciiOrLatin(m.surface)))
            count(unknown, out.unknown, m.surface,
                  m.reading.empty() && !isKana(m.surface) && !isAsciiOrLatin(m.surface) ? u"no reading: left as print"
                                                                                         : u"not in the dictionary");
        if (std::u16string_view h = homographReadings(m.surface); !h.empty() && !m.userWord && !m.givenReading)
            count(guessed, out.guessed, m.surface, h);
        // A particle phrase holding a verb (に関する, について, という): the verb is a word of its
        // own after the particle.
        if (m.pos == u"助詞" && m.pos2 == u"連語" && m.surface.size() >= 3 && m.reading.size() >= 3 &&
            std::u16string_view(u"にとを").find(m.surface[0]) != std::u16string_view::npos &&
            toKatakana(m.surface.substr(0, 1)) == m.reading.substr(0, 1)) {
            Morpheme particle = m, verb = m;
            particle.surface = m.surface.substr(0, 1);
            particle.reading = particle.pronunciation = m.reading.substr(0, 1);
            particle.end = m.begin + 1;
            verb.surface = m.surface.substr(1);
            verb.reading = m.reading.substr(1);
            verb.pronunciation = m.pronunciation.size() == m.reading.size() ? m.pronunciation.substr(1) : u"";
            verb.begin = m.begin + 1;
            verb.pos = u"動詞";
            verb.pos1 = u"自立";
            for (Morpheme& part : {std::ref(particle), std::ref(verb)}) {
                parts.push_back(part);
                Token p;
                p.head = p.tail = &parts.back();
                p.begin = part.begin;
                p.end = part.end;
                Spelling s = spellMorpheme(parts.back());
                p.kana = std::move(s.kana);
                p.rule = u"particle phrase split";
                tokens.push_back(std::move(p));
            }
            continue;
        }
        const Morphemes& split = components(m);
        if (!split.empty()) {
            for (const Morpheme& part : split) {
                parts.push_back(part);
                parts.back().begin += m.begin; // the cache holds places within the word
                parts.back().end += m.begin;
                Token p;
                p.head = p.tail = &parts.back();
                p.begin = parts.back().begin;
                p.end = parts.back().end;
                Spelling s = spellMorpheme(part);
                p.kana = std::move(s.kana);
                p.rule = u"compound split";
                if (!s.rule.empty())
                    p.rule += u"; " + s.rule;
                tokens.push_back(std::move(p));
            }
            continue;
        }
        // 何 is read ナン before で, と and の (何でも, 何の, 何と) and before a counter (何人, 何回);
        // ナニ stays before が, を, も, か and alone.
        if (m.surface == u"何人" && !m.userWord) {
            t.kind = Token::Number;
            t.kana = u"ナンニン";
            t.rule = u"何 as ナン before a counter";
            tokens.push_back(std::move(t));
            continue;
        }
        if (m.surface == u"何" && !m.userWord && i + 1 < morphemes.size() && !morphemes[i + 1].userWord) {
            const Morpheme& n = morphemes[i + 1];
            const bool counter = (n.pos1 == u"接尾" && n.pos2 == u"助数詞") || isCounterNoun(n.surface) ||
                                 n.surface == u"人";
            if (n.surface.starts_with(u"で") || n.surface == u"と" || n.surface == u"の" || counter) {
                t.kana = u"ナン";
                t.rule = u"何 as ナン before で, と, の or a counter";
                if (n.surface == u"人") {
                    // 何人 is a number with its counter (ナンニン), whatever the analyser took 人 for.
                    t.kind = Token::Number;
                    t.kana += u"ニン";
                    t.tail = &n;
                    t.end = n.end;
                    ++i;
                }
                tokens.push_back(std::move(t));
                continue;
            }
        }
        Spelling s = spellMorpheme(m);
        t.kana = std::move(s.kana);
        t.rule = std::move(s.rule);
        tokens.push_back(std::move(t));
    }

    markHonorifics(tokens);
    placeWords(line, offset, tokens, out);
}

Translation AutoTranslator::translate(std::u16string_view text, const std::vector<GivenReading>& given) const
{
    Translation out;
    std::unordered_map<std::u16string, std::size_t> guessed, unknown;
    forEachLine(text, [&](std::u16string_view line, std::size_t start, bool last) {
        if (!line.empty())
            translateLine(line, start, given, out, guessed, unknown);
        if (!last)
            out.braille += u'\n';
    });
    out.guessed = sortedCounts(std::move(out.guessed));
    out.unknown = sortedCounts(std::move(out.unknown));
    return out;
}

} // namespace braille::autotranslate
