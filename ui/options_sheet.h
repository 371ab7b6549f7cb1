#pragma once
// "Tessera Options": the General, View and File pages, each control bound to its parameter through the
// option descriptors. Pages load their controls when first shown and store them on OK or Apply; changes
// of cell size, colours, speed and scroll rate show at once in the pages' previews and are forgotten on
// Cancel.
#include <QDialog>
#include <QTimer>
#include <memory>
#include <vector>

#include "config/option_descriptors.h"
#include "rules/rule_code.h"
#include "ui/universe_renderer.h"

class QComboBox;
class QTabWidget;

namespace tessera {
class CGrowableUniverse;
}

namespace tessera::ui {

class COptionControl;

// A small view of the demonstration pattern drawn with the page's current (unsaved) choices.
class COptionsPreview : public QWidget {
    Q_OBJECT
public:
    explicit COptionsPreview(QWidget* parent = nullptr);
    ~COptionsPreview() override;
    void SetPitch(int pitch, bool grid);
    int Pitch() const { return pitch_; }
    void SetColours(const CRenderColours& colours);
    const CRenderColours& Colours() const { return colours_; }
    // Grows the pattern at this many generations a second (0: still).
    void SetGrowSpeed(uint32_t generationsPerSecond);
    // Scrolls the view at this many cells a second (0: still).
    void SetScrollRate(uint32_t cellsPerSecond);
    int32_t Generation() const { return generation_; }
    QSize sizeHint() const override { return {160, 90}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Step();
    void Scroll();

    std::unique_ptr<CGrowableUniverse> universe_;
    int pitch_ = 10;
    bool grid_ = true;
    CRenderColours colours_;
    int32_t generation_ = 0;
    int scrolled_ = 0;
    QTimer growTimer_;
    QTimer scrollTimer_;
};

class COptionsPage : public QWidget {
    Q_OBJECT
public:
    COptionsPage(EOptionPage page, QWidget* parent = nullptr);
    ~COptionsPage() override;
    EOptionPage Page() const { return page_; }
    bool WasShown() const { return shown_; }
    // Loads every control from its parameter (the first time the page shows, and after Defaults).
    void LoadAll();
    void StoreAll();
    void RestoreAllDefaults();
    // The control bound to a parameter, or none.
    QWidget* ControlOf(const CParam& param) const;
    COptionsPreview* Preview() const { return preview_; }
    QComboBox* RuleCombo() const { return rules_; }

signals:
    // The colours the View page shows now, for the open windows to preview.
    void coloursPreviewed(const tessera::ui::CRenderColours& colours);

private:
    void Changed(const COptionControl& control);
    // The rule names, with chosen selected.
    void FillRules(RuleCode chosen);
    // "New...": the rules dialog, whose rule then becomes the selected one.
    void DefineRule();
    CRenderColours PreviewColours() const;

    EOptionPage page_;
    bool shown_ = false;
    bool loading_ = false;
    std::vector<std::unique_ptr<COptionControl>> controls_;
    COptionsPreview* preview_ = nullptr;
    QComboBox* rules_ = nullptr;
};

class COptionsSheet : public QDialog {
    Q_OBJECT
public:
    // Opens at page lastPage, the page that was active when the sheet was last closed with OK.
    COptionsSheet(int& lastPage, QWidget* parent = nullptr);
    QTabWidget* Tabs() const { return tabs_; }
    COptionsPage* PageAt(EOptionPage page) const { return pages_[int(page)]; }
    // Stores every page that was shown, remembers the page, saves the parameters when they are saved
    // automatically, and tells the program to take them.
    void accept() override;
    void Apply();
    // Asks "Restore all options to default settings?"; on yes every parameter of the sheet takes its
    // default. Either way the shown pages load their controls again.
    void RestoreDefaults();

signals:
    // The parameters changed: windows take the new colours, scales and speeds.
    void applied();
    // The View page's colours changed and are not stored yet; after Cancel the windows take the stored
    // colours again.
    void coloursPreviewed(const tessera::ui::CRenderColours& colours);

private:
    void StoreShownPages();

    int& lastPage_;
    QTabWidget* tabs_;
    COptionsPage* pages_[3] = {};
};

}  // namespace tessera::ui
