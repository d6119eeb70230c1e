#pragma once
// The find and replace dialog: modeless, beside the book. Its two fields hold characters typed in
// Text, Math or Braille mode (FindReplaceForm keeps them); its buttons ask the view's session to
// find, replace, or replace all in the current section.

#include "FindReplaceForm.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace braille {

class EditorView;

class FindReplaceDialog : public QDialog {
    Q_OBJECT

public:
    // The selection of the view, when there is one, is the initial find text.
    FindReplaceDialog(EditorView& view, QWidget* parent = nullptr);

    FindReplaceForm& form() { return m_form; }
    QLineEdit* findField() const { return m_find; }
    QLineEdit* replaceField() const { return m_replace; }
    QPushButton* findNextButton() const { return m_findNext; }
    QPushButton* replaceButton() const { return m_replaceNext; }
    QPushButton* replaceAllButton() const { return m_replaceAll; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void send(FindRequest request);
    void setMode(FindReplaceForm::Mode mode);
    FindReplaceForm::Field fieldOf(QObject* widget) const;

    EditorView& m_view;
    FindReplaceForm m_form;
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QRadioButton* m_text;
    QRadioButton* m_up;
    QPushButton* m_findNext;
    QPushButton* m_replaceNext;
    QPushButton* m_replaceAll;
    QListWidget* m_candidates;
};

} // namespace braille
