#pragma once
// "Create Pattern" and the pattern properties dialog ("Pattern " and the name), with rename.
#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tessera {
class CNamedPattern;
class CPatternLibrary;
class CUniverse;
}  // namespace tessera

namespace tessera::ui {

class CDesktopClipboard;
class CUniverseWindow;

class CCreatePatternDialog : public QDialog {
    Q_OBJECT
public:
    enum ESource { kWholeUniverse = 0, kSelection = 1, kClipboard = 2 };
    // lastUsed: the library chosen the last time, preselected while it is writable. The clipboard, when
    // given and holding a pattern, is offered as a source.
    CCreatePatternDialog(CUniverseWindow& window, CPatternLibrary* lastUsed, CDesktopClipboard* clipboard,
                         QWidget* parent = nullptr);
    QLineEdit* NameField() const { return name_; }
    QListWidget* LibraryList() const { return libraries_; }
    void SetSource(ESource source);
    ESource Source() const;
    bool IsSourceOffered(ESource source) const;
    // The entry made on OK.
    CNamedPattern* Created() const { return created_; }
    CPatternLibrary* ChosenLibrary() const;
    // Refuses an invalid or taken name with its message; otherwise names a new pattern of the source.
    void accept() override;

private:
    // The cells of the chosen source, or none (nothing there, or the clipboard's choice was cancelled).
    CUniverse* SourceCells();

    CUniverseWindow& window_;
    CDesktopClipboard* clipboard_;
    std::unique_ptr<CUniverse> cells_;
    // The pattern once taken from the clipboard, kept so that a refused name does not ask again.
    std::unique_ptr<CUniverse> fromClipboard_;
    QButtonGroup* source_;
    QListWidget* libraries_;
    QLineEdit* name_;
    CNamedPattern* created_ = nullptr;
};

class CPatternPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    explicit CPatternPropertiesDialog(CNamedPattern& entry, QWidget* parent = nullptr);
    QComboBox* TypeField() const { return type_; }
    QLineEdit* PeriodField() const { return period_; }
    QLineEdit* VelocityXField() const { return velocityX_; }
    QLineEdit* VelocityYField() const { return velocityY_; }
    QCheckBox* RecognizableBox() const { return recognizable_; }
    QLabel* ApgCodeLabel() const { return apgcode_; }
    // Renames the pattern; a refused name gives its message and changes nothing.
    bool Rename(const QString& name);
    void accept() override;
    void reject() override;

private:
    void ShowTitle();

    CNamedPattern& entry_;
    QComboBox* type_;
    QLineEdit* period_;
    QLineEdit* velocityX_;
    QLineEdit* velocityY_;
    QCheckBox* recognizable_;
    QLabel* apgcode_;
};

// "Create Pattern" for the game window shows, then the properties of the new pattern. lastLibrary is the
// number of the library chosen the last time, kept for the next.
void CreatePatternFromDialog(CUniverseWindow& window, std::optional<int32_t>& lastLibrary,
                             CDesktopClipboard* clipboard, QWidget* parent);

}  // namespace tessera::ui
