#pragma once
// "Random Broth Configuration" and the broth it makes: a new game whose start is a rectangle of random
// cells, filled while the status bar shows how far it has come.
#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace tessera::ui {

class CMainWindow;

class CBrothDialog : public QDialog {
    Q_OBJECT
public:
    explicit CBrothDialog(QWidget* parent = nullptr);
    QLineEdit* DensityField() const { return density_; }
    QCheckBox* SizeBox() const { return explicitSize_; }
    QLineEdit* WidthField() const { return width_; }
    QLineEdit* HeightField() const { return height_; }
    // Refuses a density outside 0 - 100 with its message; otherwise stores the settings.
    void accept() override;

private:
    void ShowSize(bool explicitSize);

    QLineEdit* density_;
    QCheckBox* explicitSize_;
    QLineEdit* width_;
    QLineEdit* height_;
};

// Asks for the settings; on OK makes the broth game and shows it. False when cancelled.
bool CreateBroth(CMainWindow& main);

}  // namespace tessera::ui
