#include "ParagraphBuilder.h"

#include "Utf.h"

#include <algorithm>

namespace braille::import {

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v' || c == u'\u00A0' ||
           c == u'\u3000';
}

bool isWide(char16_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0xD800 && c <= 0xDFFF) || (c >= 0x3400 && c <= 0x4DBF);
}

void noteOnce(ImportReport& report, const std::string& note)
{
    if (std::find(report.notes.begin(), report.notes.end(), note) == report.notes.end())
        report.notes.push_back(note);
}

void trimParagraph(PrintParagraph& paragraph)
{
    std::u16string& text = paragraph.text;
    std::size_t begin = 0;
    while (begin < text.size() && isBlank(text[begin]))
        ++begin;
    std::size_t end = text.size();
    while (end > begin && isBlank(text[end - 1]))
        --end;
    std::vector<RubySpan> kept;
    for (RubySpan span : paragraph.ruby) {
        span.begin = std::clamp(span.begin, begin, end);
        span.end = std::clamp(span.end, begin, end);
        while (span.begin < span.end && isBlank(text[span.begin]))
            ++span.begin;
        while (span.end > span.begin && isBlank(text[span.end - 1]))
            --span.end;
        if (span.begin >= span.end || span.reading.empty())
            continue;
        span.begin -= begin;
        span.end -= begin;
        kept.push_back(std::move(span));
    }
    text = text.substr(begin, end - begin);
    paragraph.ruby = std::move(kept);
}

std::u16string trimmed(std::u16string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return std::u16string(text.substr(begin, end - begin));
}

std::u16string trimmedUtf8(const char* utf8)
{
    return trimmed(fromUtf8(utf8 ? utf8 : ""));
}

void setTitleAndAuthor(PrintBook& book, std::u16string title, std::u16string author)
{
    book.title = trimmed(title);
    book.author = trimmed(author);
    for (const std::u16string* text : {&book.title, &book.author})
        if (!text->empty()) {
            PrintParagraph paragraph;
            paragraph.text = *text;
            book.cover.push_back(std::move(paragraph));
        }
}

ParagraphBuilder::ParagraphBuilder(std::vector<PrintParagraph>& out, ImportReport& report)
    : m_out(&out), m_report(report)
{
}

void ParagraphBuilder::addMarkupText(std::u16string_view text)
{
    for (char16_t c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f') {
            m_pendingBlank = true;
            continue;
        }
        if (m_pendingBlank && !m_current.text.empty() && !(isWide(m_current.text.back()) && isWide(c)))
            m_current.text.push_back(u' ');
        m_pendingBlank = false;
        m_current.text.push_back(c == u'\u00A0' ? u' ' : c);
    }
}

void ParagraphBuilder::addText(std::u16string_view text)
{
    m_pendingBlank = false;
    m_current.text.append(text);
}

void ParagraphBuilder::addRuby(std::size_t begin, std::u16string reading)
{
    std::u16string trimmed;
    for (char16_t c : reading)
        if (!isBlank(c))
            trimmed.push_back(c);
    if (trimmed.empty() || begin >= m_current.text.size()) {
        ++m_report.droppedAnnotations;
        noteOnce(m_report, "Readings without a base text, or without a reading, were dropped.");
        return;
    }
    m_current.ruby.push_back({begin, m_current.text.size(), std::move(trimmed)});
}

bool ParagraphBuilder::hasText() const
{
    return std::any_of(m_current.text.begin(), m_current.text.end(), [](char16_t c) { return !isBlank(c); });
}

void ParagraphBuilder::pageBreak(std::u16string label)
{
    if (!m_pendingPage.empty())
        noteOnce(m_report, "A print page without text of its own has no paragraph to carry its label (page " +
                               toUtf8(m_pendingPage) + ").");
    if (hasText())
        noteOnce(m_report, "A print page that begins inside a paragraph is marked at the next paragraph.");
    m_pendingPage = std::move(label);
}

void ParagraphBuilder::endParagraph(PrintParagraph::Kind kind, int level)
{
    m_pendingBlank = false;
    PrintParagraph paragraph = std::move(m_current);
    m_current = {};
    trimParagraph(paragraph);
    if (paragraph.text.empty())
        return;
    paragraph.kind = kind;
    paragraph.level = kind == PrintParagraph::Heading ? std::clamp(level, 1, 6) : 0;
    paragraph.pageLabel = std::move(m_pendingPage);
    m_pendingPage.clear();
    m_out->push_back(std::move(paragraph));
}

void ParagraphBuilder::finish()
{
    endParagraph();
    if (!m_pendingPage.empty()) {
        noteOnce(m_report, "A print page without text of its own has no paragraph to carry its label (page " +
                               toUtf8(m_pendingPage) + ").");
        m_pendingPage.clear();
    }
}

} // namespace braille::import
