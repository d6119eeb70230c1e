#pragma once
// The list of candidates that the dictionary and braille input systems show below the caret
// while typed keys are pending: what the input systems need from the window that shows it.
//
// The input systems keep the candidates and the selection themselves (CandidateMatches) and
// tell the list what to show; the window layer implements this with a list widget, tests with a
// fake that remembers what it was told.

#include <cstddef>
#include <string>
#include <vector>

namespace braille {

class CandidateList {
public:
    virtual ~CandidateList() = default;
    // Replaces the lines, in the order given (ascending key order).
    virtual void fill(const std::vector<std::u16string>& lines) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void select(std::size_t line) = 0;
    // Puts the list's top left corner at this point of the view (just below the pending keys).
    virtual void place(int x, int y) = 0;
};

// For users without a window, such as the command-line tool.
class NoCandidateList final : public CandidateList {
public:
    void fill(const std::vector<std::u16string>&) override {}
    void show() override {}
    void hide() override {}
    void select(std::size_t) override {}
    void place(int, int) override {}
};

} // namespace braille
