#pragma once
// The modal dialogs the main flows need: Goto Generation, Name, Select Game, Description, About, and the
// progress box of long operations. Each gathers and checks its values; the main window acts on them.
#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <string>

#include "games/front_end.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QCheckBox;

namespace tessera {
class CCancelBox;
class CGame;
class CGameRegistry;
}  // namespace tessera

namespace tessera::ui {

// What Goto Generation remembers between openings.
struct CGotoMemory {
    int32_t target = 0;
    int32_t interval = 0;  // 0: only at the end
    uint32_t gameSerial = 0;
    bool hasGame = false;
};

class CGotoDialog : public QDialog {
    Q_OBJECT
public:
    CGotoDialog(CGotoMemory& memory, const CGame& game, QWidget* parent = nullptr);
    QLineEdit* GenerationField() const { return generation_; }
    QLineEdit* IntervalField() const { return interval_; }
    // Selects "Every" (true) or "Only at end".
    void SetEvery(bool every);
    void accept() override;

private:
    CGotoMemory& memory_;
    uint32_t gameSerial_;
    QLineEdit* generation_;
    QLineEdit* interval_;
    QButtonGroup* display_;
};

// Names must begin with a letter or digit and hold only letters, digits, blanks, '-', '_' and '#'.
bool IsValidGameName(const std::string& name);
// The text shown when a name is refused.
QString InvalidNameText();

class CNameDialog : public QDialog {
    Q_OBJECT
public:
    CNameDialog(const QString& name, QWidget* parent = nullptr);
    QLineEdit* Field() const { return field_; }
    std::string Name() const;
    void accept() override;

private:
    QLineEdit* field_;
};

// "Name Already In Use": what to do with the game that holds the name.
class CNameInUseDialog : public QDialog {
    Q_OBJECT
public:
    enum EChoice { kRenameOther = 2, kUnnameOther = 3, kDeleteOther = 4 };
    CNameInUseDialog(CGame& other, const QString& name, QWidget* parent = nullptr);
    QLineEdit* NewNameField() const { return newName_; }

private:
    QLineEdit* newName_;
};

class CSelectGameDialog : public QDialog {
    Q_OBJECT
public:
    enum EShow { kAll = 0, kNamed = 1, kLastRead = 2 };
    enum EGeneration { kFirst = 0, kCurrent = 1, kLast = 2 };
    // Games with a serial at or above lastReadSerial count as the last read.
    CSelectGameDialog(const CGameRegistry& games, const CGame* current, uint32_t lastReadSerial,
                      QWidget* parent = nullptr);
    QListWidget* List() const { return list_; }
    // The highlighted game's serial, or none.
    bool SelectedSerial(uint32_t& serial) const;
    EGeneration Generation() const;
    void SetShow(EShow show);

private:
    void Fill();
    void ShowDetails();

    const CGameRegistry& games_;
    uint32_t currentSerial_;
    uint32_t lastReadSerial_;
    QListWidget* list_;
    QLabel* originator_;
    QLabel* description_;
    QButtonGroup* show_;
    QButtonGroup* generation_;
};

class CDescriptionDialog : public QDialog {
    Q_OBJECT
public:
    CDescriptionDialog(CGame& game, QWidget* parent = nullptr);
    QLineEdit* OriginatorField() const { return originator_; }
    QPlainTextEdit* DescriptionField() const { return description_; }
    void accept() override;

private:
    CGame& game_;
    QLineEdit* originator_;
    QPlainTextEdit* description_;
    QCheckBox* showAutomatically_;
};

class CAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDialog(bool greeting, QWidget* parent = nullptr);
};

// The progress box of a long operation: two lines and Cancel, which cancels the task.
class CProgressBox : public CCancelBoxDisplay {
public:
    CProgressBox(CCancelBox& box, QWidget* parent);
    ~CProgressBox() override;
    void ShowLines(std::string_view title, std::string_view status) override;
    QDialog* Widget() const { return dialog_; }

private:
    QPointer<QDialog> dialog_;
    QLabel* title_;
    QLabel* status_;
};

}  // namespace tessera::ui
