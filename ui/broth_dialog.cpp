#include "ui/broth_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QVBoxLayout>

#include "config/parameters.h"
#include "foundation/messages.h"
#include "games/broth.h"
#include "games/game.h"
#include "games/game_registry.h"
#include "ui/dialog_help.h"
#include "ui/main_window.h"
#include "ui/message_sink.h"
#include "ui/universe_window.h"

namespace tessera::ui {
namespace {

// The status bar shows the broth's progress as it is filled.
class CStatusBrothProgress : public CBrothProgress {
public:
    explicit CStatusBrothProgress(QStatusBar* bar) : bar_(bar) {}
    void ShowProgress(std::string_view text) override {
        bar_->showMessage(QString::fromUtf8(text.data(), qsizetype(text.size())));
        bar_->repaint();
    }

private:
    QStatusBar* bar_;
};

}  // namespace

CBrothDialog::CBrothDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Random Broth Configuration"));
    density_ = new QLineEdit(QString::number(params::BrothDensity.GetUInt()), this);
    explicitSize_ = new QCheckBox(QStringLiteral("&Size"), this);
    width_ = new QLineEdit(this);
    height_ = new QLineEdit(this);
    for (QLineEdit* size : {width_, height_})
        size->setValidator(
            new QIntValidator(int(params::BrothSizeX.Min()), int(params::BrothSizeX.Max()), size));
    auto* densityLabel = new QLabel(QStringLiteral("&Density"), this);
    densityLabel->setBuddy(density_);
    auto* densityRow = new QHBoxLayout;
    densityRow->addWidget(densityLabel);
    densityRow->addWidget(density_);
    densityRow->addWidget(new QLabel(QStringLiteral("%"), this));
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(explicitSize_);
    sizeRow->addWidget(width_);
    auto* by = new QLabel(QStringLiteral("&by"), this);
    by->setBuddy(height_);
    sizeRow->addWidget(by);
    sizeRow->addWidget(height_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    AddHelpButton(*this, *buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(densityRow);
    layout->addLayout(sizeRow);
    layout->addWidget(buttons);
    const bool explicitSize = params::BrothExplicitSize.GetInt() != 0;
    explicitSize_->setChecked(explicitSize);
    ShowSize(explicitSize);
    connect(explicitSize_, &QCheckBox::toggled, this, &CBrothDialog::ShowSize);
    density_->selectAll();
    density_->setFocus();
}

void CBrothDialog::ShowSize(bool explicitSize) {
    width_->setEnabled(explicitSize);
    height_->setEnabled(explicitSize);
    width_->setText(explicitSize ? QString::number(params::BrothSizeX.GetUInt()) : QString());
    height_->setText(explicitSize ? QString::number(params::BrothSizeY.GetUInt()) : QString());
}

void CBrothDialog::accept() {
    const std::string density = density_->text().toStdString();
    const std::string sizeX = width_->text().toStdString(), sizeY = height_->text().toStdString();
    const int refused = ApplyBrothSettings({density, explicitSize_->isChecked(), sizeX, sizeY});
    if (refused != 0) {
        ShowMessage(this, QMessageBox::Warning,
                    QString::fromUtf8(MessageText(refused).data(), qsizetype(MessageText(refused).size())));
        density_->setFocus();
        density_->selectAll();
        return;
    }
    QDialog::accept();
}

bool CreateBroth(CMainWindow& main) {
    CBrothDialog dialog(&main);
    if (dialog.exec() != QDialog::Accepted) return false;
    CGame& game = main.Games().NewGame();
    game.SetOriginator(params::DefaultOriginator.GetText());
    CUniverseWindow& window = *main.UniverseWindow();
    main.ShowGame(&game);
    window.SetGridStyle(params::StartBrothAsGrid.GetInt() != 0);
    const CLRect visible = window.Geometry().VisibleCells();
    const CLRect rect = BrothRectangle(visible.right - visible.left, visible.bottom - visible.top,
                                       params::BrothExplicitSize.GetInt() != 0);
    CStatusBrothProgress progress(main.statusBar());
    // The broth is a new game of its own, so there is no edit of an existing game to undo.
    FillBroth(game.Current(), params::BrothDensity.GetUInt(), rect, TheRandomGenerator(), &progress);
    window.CurrentGenerationChanged();
    main.ShowGame(&game);
    return true;
}

}  // namespace tessera::ui
