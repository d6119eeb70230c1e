#include "FindReplaceDialog.h"

#include "QtText.h"

#include "EditorView.h"
#include "ClipboardFormat.h"
#include "KeyTranslation.h"
#include "VirtualKeys.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace braille {

namespace {

// The initial find text travels as a character run code of at most 128 units; a longer
// selection is cut after the last character that fits whole.
EntryList initialFind(const EntryList& selection)
{
    EntryList fitting;
    for (const BrailleCharacter* e : selection) {
        fitting.push_back(e);
        if (encodeCharacterRunCode(fitting).size() > 128) {
            fitting.pop_back();
            break;
        }
    }
    return fitting;
}

} // namespace

FindReplaceDialog::FindReplaceDialog(EditorView& view, QWidget* parent)
    : QDialog(parent), m_view(view), m_form(view.session().pageLayout().ColumnNumber)
{
    setWindowTitle(QStringLiteral("検索と置換"));
    setModal(false);
    if (view.session().cursor().hasSelection())
        m_form.setInitialFind(initialFind(view.session().selectedEntries()));
    m_form.setComposeKana(!view.usesSystemInputMethod());

    auto* layout = new QGridLayout(this);
    auto* findLabel = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
    m_find = new QLineEdit(this);
    findLabel->setBuddy(m_find);
    auto* replaceLabel = new QLabel(QStringLiteral("置換後の文字列(&P):"), this);
    m_replace = new QLineEdit(this);
    replaceLabel->setBuddy(m_replace);
    layout->addWidget(findLabel, 0, 0);
    layout->addWidget(m_find, 0, 1);
    layout->addWidget(replaceLabel, 1, 0);
    layout->addWidget(m_replace, 1, 1);
    const QFont cells = view.viewFont();
    for (QLineEdit* field : {m_find, m_replace}) {
        field->setFont(cells);
        field->installEventFilter(this);
    }

    auto* modes = new QGroupBox(QStringLiteral("入力モード"), this);
    auto* modeRow = new QHBoxLayout(modes);
    m_text = new QRadioButton(QStringLiteral("Text"), modes);
    auto* math = new QRadioButton(QStringLiteral("Math"), modes);
    auto* braille = new QRadioButton(QStringLiteral("Braille"), modes);
    for (QRadioButton* b : {m_text, math, braille})
        modeRow->addWidget(b);
    m_text->setChecked(true);
    connect(m_text, &QRadioButton::toggled, this, [this](bool on) { if (on) setMode(FindReplaceForm::Mode::Text); });
    connect(math, &QRadioButton::toggled, this, [this](bool on) { if (on) setMode(FindReplaceForm::Mode::Math); });
    connect(braille, &QRadioButton::toggled, this, [this](bool on) { if (on) setMode(FindReplaceForm::Mode::Braille); });

    auto* direction = new QGroupBox(QStringLiteral("検索する方向"), this);
    auto* directionRow = new QHBoxLayout(direction);
    m_up = new QRadioButton(QStringLiteral("上へ(&U)"), direction);
    auto* down = new QRadioButton(QStringLiteral("下へ(&D)"), direction);
    directionRow->addWidget(m_up);
    directionRow->addWidget(down);
    down->setChecked(true);
    connect(m_up, &QRadioButton::toggled, this, [this](bool up) { m_form.setDown(!up); });
    layout->addWidget(modes, 2, 0, 1, 2);
    layout->addWidget(direction, 3, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    m_findNext = new QPushButton(QStringLiteral("次を検索(&F)"), this);
    m_replaceNext = new QPushButton(QStringLiteral("置換して次に(&R)"), this);
    m_replaceAll = new QPushButton(QStringLiteral("すべて置換(&A)"), this);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_findNext->setDefault(true);
    for (QPushButton* b : {m_findNext, m_replaceNext, m_replaceAll, cancel}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons, 0, 2, 4, 1);
    connect(m_findNext, &QPushButton::clicked, this, [this] { send(m_form.findNext()); });
    connect(m_replaceNext, &QPushButton::clicked, this, [this] { send(m_form.replaceAndNext()); });
    connect(m_replaceAll, &QPushButton::clicked, this, [this] { send(m_form.replaceAll()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);

    // The candidates of Math and Braille, under the fields.
    m_candidates = new QListWidget(this);
    m_candidates->setFocusPolicy(Qt::NoFocus);
    m_candidates->setMaximumHeight(100);
    m_candidates->setVisible(false);
    layout->addWidget(m_candidates, 4, 0, 1, 3);
    refresh();
    m_find->setFocus();
}

FindReplaceForm::Field FindReplaceDialog::fieldOf(QObject* widget) const
{
    return widget == m_replace ? FindReplaceForm::Field::Replace : FindReplaceForm::Field::Find;
}

void FindReplaceDialog::setMode(FindReplaceForm::Mode mode)
{
    m_form.setMode(mode);
    // The input method types in Text only.
    for (QLineEdit* field : {m_find, m_replace})
        field->setAttribute(Qt::WA_InputMethodEnabled, mode == FindReplaceForm::Mode::Text);
    (m_form.active() == FindReplaceForm::Field::Find ? m_find : m_replace)->setFocus();
    refresh();
}

bool FindReplaceDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_find && watched != m_replace)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        m_form.setActive(fieldOf(watched));
        return false;
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const TranslatedKey k = translateKey(*key);
        if (k.modifiers & (kControlModifier | kAltModifier))
            return false; // the dialog's own shortcuts
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape)
            return false;
        m_form.setActive(fieldOf(watched));
        switch (k.key) {
        case vk::Back: case vk::Delete: case vk::Left: case vk::Right: case vk::Home: case vk::End:
        case vk::Up: case vk::Down:
            m_form.key(k.key);
            break;
        case vk::Return:
            // Enter chooses a candidate; with none pending it is the default button's.
            if (m_form.pendingKeys().empty())
                return false;
            m_form.key(k.key);
            break;
        default:
            for (QChar c : key->text())
                m_form.type(c.unicode());
            break;
        }
        refresh();
        return true;
    }
    case QEvent::InputMethod: {
        auto* im = static_cast<QInputMethodEvent*>(event);
        if (im->commitString().isEmpty())
            return false; // the pre-edit shows in the field
        m_form.setActive(fieldOf(watched));
        m_form.typeText(im->commitString().toStdU16String());
        refresh();
        return true;
    }
    default:
        return false;
    }
}

void FindReplaceDialog::refresh()
{
    for (QLineEdit* field : {m_find, m_replace}) {
        const FindReplaceForm::Field f = fieldOf(field);
        QString shown = qt(m_form.text(f));
        int caret = int(m_form.textCaret(f));
        // Letters being composed show at the caret of the active field.
        if (f == m_form.active() && !m_form.composition().empty()) {
            shown.insert(caret, qt(m_form.composition()));
            caret += int(m_form.composition().size());
        }
        field->setText(shown);
        field->setCursorPosition(caret);
    }
    const bool enabled = m_form.buttonsEnabled();
    for (QPushButton* b : {m_findNext, m_replaceNext, m_replaceAll})
        b->setEnabled(enabled);
    m_candidates->clear();
    if (!m_form.pendingKeys().empty() && !m_form.candidates().empty()) {
        for (std::size_t i = 0; i < m_form.candidates().size(); ++i)
            m_candidates->addItem(qt(m_form.candidates()[i].entry->print) + QStringLiteral("  ") +
                                  qt(m_form.candidates()[i].key));
        m_candidates->setCurrentRow(int(m_form.candidates().selected()));
        m_candidates->setVisible(true);
    } else {
        m_candidates->setVisible(false);
    }
}

void FindReplaceDialog::send(FindRequest request)
{
    m_view.session().findReplace(request);
    emit m_view.stateChanged();
    refresh();
}

} // namespace braille
