#pragma once
// The candidate list the MATH and BRAILLE input systems show below the pending keys: a small
// list box in the view. Clicking an item selects it and gives the keyboard back to the view; a
// double click chooses it, as Enter does.

#include "CandidateList.h"

#include <QListWidget>

#include <functional>

namespace braille {

class CandidateListWidget final : public QListWidget, public CandidateList {
public:
    // `owner` gets the focus back; `choose` gets the line clicked, and whether it was a double
    // click (which chooses the line as Enter would).
    CandidateListWidget(QWidget* owner, std::function<void(std::size_t line, bool commit)> choose);

    void fill(const std::vector<std::u16string>& lines) override;
    void show() override { setVisible(true); }
    void hide() override { setVisible(false); }
    void select(std::size_t line) override;
    void place(int x, int y) override { move(x, y); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QWidget* m_owner;
    std::function<void(std::size_t, bool)> m_choose;
};

} // namespace braille
