#include "ide/gui/about_box.h"

#include "ide/gui/product.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace ozra::ide::gui {

namespace {

constexpr int kStepMilliseconds = 20;
constexpr int kStayMilliseconds = 2000;

} // namespace

std::vector<int> AboutBox::FadeSteps() {
    std::vector<int> steps;
    for (int opacity = 10; opacity <= 250; opacity += 10)
        steps.push_back(opacity);
    steps.push_back(255);
    for (int opacity = 250; opacity >= 0; opacity -= 10)
        steps.push_back(opacity);
    return steps;
}

AboutBox::AboutBox(QWidget* parent, bool splash) : QDialog(parent), splash_(splash) {
    setObjectName("AboutBox");
    setWindowTitle("About Weftline Studio");
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(
        "<h2>" + QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()) + "</h2>",
        this);
    auto* version = new QLabel("Version " + QApplication::applicationVersion(), this);
    auto* line = new QLabel("A development environment for the Ozra template language.", this);
    for (QLabel* label : {name, version, line}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    if (!splash_) {
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(buttons);
        return;
    }
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    steps_ = FadeSteps();
    setWindowOpacity(0);
    connect(&timer_, &QTimer::timeout, this, [this] { Step(); });
    timer_.start(kStepMilliseconds);
}

void AboutBox::Step() {
    if (step_ == steps_.size()) {
        timer_.stop();
        QDialog::accept();
        return;
    }
    const int opacity = steps_[step_++];
    setWindowOpacity(opacity / 255.0);
    // Fully opaque: stay, then fade out at the usual pace.
    if (opacity == 255)
        timer_.start(kStayMilliseconds);
    else
        timer_.start(kStepMilliseconds);
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    if (!splash_) QDialog::keyPressEvent(event);
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    if (!splash_) QDialog::mousePressEvent(event);
}

void AboutBox::reject() {
    if (!splash_) QDialog::reject();
}

} // namespace ozra::ide::gui
