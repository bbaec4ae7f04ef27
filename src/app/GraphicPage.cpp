#include "app/GraphicPage.h"
#include "ncgen/PickBuffer.h"

#include "app/GraphicView.h"
#include "app/JobDocument.h"
#include "base/TextNumbers.h"
#include "app/Messages.h"
#include "app/PointerReadOut.h"
#include "app/ToolbarButton.h"
#include "simulation/JobView.h"
#include "simulation/SimulationNumber.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>

namespace korvex::app {

namespace {

constexpr int FirstTooltip = text::FirstGraphicTooltip;

long double numberOr0(const std::string& text) {
    try {
        return simulation::ParseSimulationNumber(text);
    } catch (...) {
        return 0;
    }
}

QString threeDecimals(long double value) {
    return QString::fromStdString(simulation::FormatReadOut(value));
}

} // namespace

GraphicPage::GraphicPage(const Messages& messages, QWidget* parent)
    : QWidget(parent), messages_(messages), view_(grafik_) {
    setObjectName(QStringLiteral("PGrafik"));
    simulation::SetInitialView(grafik_);
    const QColor text = palette().color(QPalette::WindowText);
    grafik_.SetFont(
        {"Arial", 9,
         static_cast<simulation::Color>(text.red() | (text.green() << 8) | (text.blue() << 16))});

    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    toolbar_ = new QWidget(this);
    toolbar_->setObjectName(QStringLiteral("NCGPanel"));
    toolbar_->setFixedHeight(36);
    auto* bar = new QHBoxLayout(toolbar_);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(0);

    using simulation::RotationButton;
    using simulation::ViewPreset;
    const auto addButton = [this](const char* name, const QString& picture, bool checkable) {
        return AddToolbarButton(*toolbar_, name, picture, checkable);
    };
    connect(addButton("Zoomin", QStringLiteral("[+]"), false), &QToolButton::clicked, this,
            &GraphicPage::ZoominClick);
    connect(addButton("Zoomout", QStringLiteral("−"), false), &QToolButton::clicked, this,
            &GraphicPage::ZoomoutClick);
    const std::pair<const char*, RotationButton> rotations[] = {{"YM_ROT", RotationButton::YM_ROT},
                                                                {"YP_ROT", RotationButton::YP_ROT},
                                                                {"ZM_ROT", RotationButton::ZM_ROT},
                                                                {"ZP_ROT", RotationButton::ZP_ROT}};
    const QString rotationPictures[] = {QStringLiteral("Y+5"), QStringLiteral("Y−5"),
                                        QStringLiteral("Z−5"), QStringLiteral("Z+5")};
    for (int i = 0; i < 4; ++i) {
        const RotationButton button = rotations[i].second;
        connect(addButton(rotations[i].first, rotationPictures[i], false), &QToolButton::clicked,
                this, [this, button] { RotateClick(button); });
    }
    auto* presets = new QButtonGroup(this);
    presets->setExclusive(true);
    const std::pair<const char*, ViewPreset> presetNames[] = {{"XYButt", ViewPreset::XY},
                                                              {"XZButt", ViewPreset::XZ},
                                                              {"YZButt", ViewPreset::YZ},
                                                              {"XYZButt", ViewPreset::XYZ}};
    const QString presetPictures[] = {QStringLiteral("XY"), QStringLiteral("XZ"),
                                      QStringLiteral("YZ"), QStringLiteral("XYZ")};
    for (int i = 0; i < 4; ++i) {
        const ViewPreset preset = presetNames[i].second;
        presetButtons_[i] = addButton(presetNames[i].first, presetPictures[i], true);
        presets->addButton(presetButtons_[i]);
        connect(presetButtons_[i], &QToolButton::clicked, this,
                [this, preset] { PresetClick(preset); });
    }
    presetButtons_[3]->setChecked(true);
    axisButt_ = addButton("AxisButt", QStringLiteral("⊥"), true);
    connect(axisButt_, &QToolButton::clicked, this, &GraphicPage::AxisButtClick);
    g0Butt_ = addButton("G0Butt", QStringLiteral("G0"), true);
    connect(g0Butt_, &QToolButton::clicked, this, &GraphicPage::G0ButtClick);
    connect(addButton("Refresh", QStringLiteral("↻"), false), &QToolButton::clicked, this,
            &GraphicPage::RefreshWanted);
    connect(addButton("Fit", QStringLiteral("[ ]"), false), &QToolButton::clicked, this,
            &GraphicPage::FitClick);
    bPick_ = addButton("BPick", QStringLiteral("✛"), true);
    connect(bPick_, &QToolButton::clicked, this, &GraphicPage::BPickClick);
    bar->addStretch(1);

    // Under the picture, beside the blank warning: the toolbar's buttons take its whole width in
    // the smallest window, and the read-out stays legible there.
    readOut_ = new PointerReadOut(this);
    page->addWidget(toolbar_);

    surface_ = new GraphicView(grafik_, this);
    page->addWidget(surface_, 1);
    // Always there, so a warning coming or going never resizes the picture.
    blankWarning_ = new QLabel(this);
    blankWarning_->setObjectName(QStringLiteral("BlankFitWarning"));
    blankWarning_->setFixedHeight(22);
    blankWarning_->setContentsMargins(6, 0, 6, 0);
    blankWarning_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->addWidget(blankWarning_, 1);
    bottom->addWidget(readOut_);
    page->addLayout(bottom);
    connect(surface_, &GraphicView::GrafikResize, this, [this] { Drawsimulation(); });
    connect(surface_, &GraphicView::MouseMoved, this, &GraphicPage::GrafikMouseMove);
    connect(surface_, &GraphicView::MousePressed, this, &GraphicPage::GrafikMouseDown);

    redrawTimer_.setSingleShot(true);
    redrawTimer_.setInterval(100);
    connect(&redrawTimer_, &QTimer::timeout, this, &GraphicPage::RedrawTimerTimer);
    bufferTimer_.setInterval(30);
    connect(&bufferTimer_, &QTimer::timeout, this, &GraphicPage::BufferTimerTimer);

    view_.processMessages = [this] {
        surface_->repaint();
        QApplication::processEvents();
    };
    setFocusPolicy(Qt::StrongFocus);
}

GraphicPage::~GraphicPage() {
    grafik_.SetCanvas(nullptr);
}

void GraphicPage::ApplyLanguage() {
    const char* const names[] = {"Zoomin",   "Zoomout", "YM_ROT",  "YP_ROT", "ZM_ROT",
                                 "ZP_ROT",   "XYButt",  "XZButt",  "YZButt", "XYZButt",
                                 "AxisButt", "G0Butt",  "Refresh", "Fit"};
    int number = FirstTooltip;
    for (const char* name : names)
        if (auto* button = toolbar_->findChild<QToolButton*>(QString::fromLatin1(name)))
            button->setToolTip(messages_.Text(number++));
    bPick_->setToolTip(messages_.Text(FirstTooltip + 14));
    readOut_->SetCaption(messages_.Text(FirstTooltip + 15));
}

const std::vector<std::string>& GraphicPage::lines() const {
    static const std::vector<std::string> none;
    return document_ ? document_->SimulationLines() : none;
}

const std::string& GraphicPage::blank() const {
    static const std::string noBlank;
    return document_ ? document_->Job().BlankDefinition : noBlank;
}

void GraphicPage::SetColors(const config::TSettings& settings) {
    view_.colors = {settings.Background, settings.Axes, settings.Feed, settings.Rapid,
                    settings.Blank};
}

void GraphicPage::Drawsimulation(bool preview) {
    if (!isVisible()) return;
    if (drawing_) {
        // The pass lets events run; a redraw they ask for follows the running pass.
        normalPending_ = true;
        return;
    }
    drawing_ = true;
    do {
        normalPending_ = false;
        if (QWidget* focus = QApplication::focusWidget(); focus && window()->isAncestorOf(focus))
            focus->clearFocus();
        emit Status(messages_.Text(text::GeneratingStatus));
        if (view_.zoomRectangleMode) surface_->unsetCursor();
        if (!preview && pickMode_) {
            pickMode_ = false;
            bufferTimer_.stop();
            bPick_->setChecked(false);
            surface_->unsetCursor();
        }
        view_.Drawsimulation(lines(), blank(), preview);
        ++passes_;
        surface_->update();
        emit Status(messages_.Text(text::GeneratedStatus));
        preview = false;
    } while (normalPending_);
    drawing_ = false;
}

void GraphicPage::PreviewPass(const std::vector<std::string>& lines) {
    if (!isVisible() || drawing_) return;
    drawing_ = true;
    view_.Drawsimulation(lines, {}, true);
    surface_->update();
    drawing_ = false;
    if (normalPending_) Drawsimulation();
}

void GraphicPage::ZoomoutClick() {
    StopPick();
    simulation::ZoomOutStep(grafik_, false);
    Drawsimulation();
}

void GraphicPage::ZoominClick() {
    StopPick();
    view_.lastMarker = {};
    view_.zoomRectangleMode = true;
    surface_->setCursor(Qt::PointingHandCursor);
}

void GraphicPage::RotateClick(simulation::RotationButton button) {
    StopPick();
    simulation::RotateStep(grafik_, button);
    Drawsimulation();
}

void GraphicPage::PresetClick(simulation::ViewPreset preset) {
    StopPick();
    if (!simulation::ApplyViewPreset(grafik_, preset)) return;
    Drawsimulation();
    setPresetButtons(preset);
}

void GraphicPage::setPresetButtons(simulation::ViewPreset preset) {
    presetButtons_[static_cast<int>(preset)]->setChecked(true);
}

void GraphicPage::AxisButtClick() {
    StopPick();
    view_.showAxes = axisButt_->isChecked();
    Drawsimulation();
}

void GraphicPage::G0ButtClick() {
    StopPick();
    view_.showRapidMoves = g0Butt_->isChecked();
    Drawsimulation();
}

void GraphicPage::FitClick() {
    StopPick();
    simulation::FitJob(grafik_, simulation::JobExtents(lines(), blank()));
    Drawsimulation();
}

void GraphicPage::RedrawTimerTimer() {
    redrawTimer_.stop();
    Drawsimulation();
}

void GraphicPage::GrafikMouseMove(int x, int y, Qt::MouseButtons buttons,
                                  Qt::KeyboardModifiers modifiers) {
    const simulation::PixelPoint now{x, y};
    if (now == view_.lastMouse) return;
    try {
        if (view_.zoomRectangleMode) {
            view_.DrawZoomRectangle(x, y);
            surface_->update();
        } else if (buttons == Qt::LeftButton && modifiers == Qt::NoModifier && !pickMode_) {
            if (simulation::DragRotationStep(grafik_, view_.lastMouse, now) &&
                !redrawTimer_.isActive())
                redrawTimer_.start();
        }
        simulation::WorldPoint w = grafik_.UnprojectPixel(x, y);
        if (pickMode_) {
            bufferTimer_.stop();
            pickState_.PickX = threeDecimals(w.x).toStdString();
            pickState_.PickY = threeDecimals(w.y).toStdString();
            w = view_.DrawPickCrosshair(x, y, numberOr0(pickOrigin_.InfeedDepth));
            surface_->update();
            bufferTimer_.start();
        }
        readOut_->Show(w);
    } catch (const std::exception&) {
        // A view that cannot be projected shows no position; the next pass says nothing either.
    }
    view_.lastMouse = now;
}

void GraphicPage::GrafikMouseDown(int x, int y) {
    if (QWidget* focus = QApplication::focusWidget(); focus && window()->isAncestorOf(focus))
        focus->clearFocus();
    if (!view_.zoomRectangleMode) {
        if (pickMode_) {
            const ncgen::TPickOffsets offsets =
                ncgen::OffsetsForPick(pickState_, pickOrigin_.Lathe);
            emit OffsetsPicked(QString::fromStdString(offsets.X),
                               QString::fromStdString(offsets.Y));
            StopPick();
        }
        return;
    }
    try {
        simulation::ZoomToRectangle(grafik_, x, y);
    } catch (const std::exception&) {
    }
    view_.lastMarker = {};
    Drawsimulation();
    view_.zoomRectangleMode = false;
    surface_->unsetCursor();
}

void GraphicPage::MSWheelWheelEvent(int delta, QPoint screen) {
    if (!isVisible() || view_.zoomRectangleMode) return;
    redrawTimer_.stop();
    if (delta < 0) {
        simulation::ZoomOutStep(grafik_, true);
    } else {
        const QPoint pixel = surface_->mapFromGlobal(screen);
        try {
            simulation::WheelZoomIn(grafik_, pixel.x(), pixel.y());
        } catch (const std::exception&) {
        }
    }
    redrawTimer_.start();
    if (delta > 0)
        QCursor::setPos(
            surface_->mapToGlobal(QPoint(static_cast<int>(std::lround(surface_->width() / 2.0)),
                                         static_cast<int>(std::lround(surface_->height() / 2.0)))));
}

void GraphicPage::BPickClick() {
    if (!pickMode_) {
        // The window brings the program up to date and starts the pick from its offsets.
        emit PickWanted();
        if (!pickMode_) bPick_->setChecked(false);
        return;
    }
    pickMode_ = false;
    view_.lastMarker = {};
    bufferTimer_.stop();
    surface_->unsetCursor();
    emit Status(QString());
    Drawsimulation();
}

void GraphicPage::StartPick(TPickOrigin origin) {
    pickOrigin_ = std::move(origin);
    ncgen::BeginPick(lines(), pickOrigin_.OffsetX, pickOrigin_.OffsetY, pickOrigin_.Lathe,
                     pickState_, bufferLines_);
    pickMode_ = true;
    bPick_->setChecked(true);
    view_.lastMarker = {};
    surface_->setCursor(Qt::PointingHandCursor);
    emit Status(messages_.Text(text::PickModeStatus));
    bufferDrawPending_ = true;
}

void GraphicPage::SetBlankWarning(const QString& text) {
    blankWarning_->setText(text);
    blankWarning_->setToolTip(text);
    blankWarning_->setStyleSheet(
        text.isEmpty() ? QString() : QStringLiteral("color: #b00000; font-weight: bold"));
}

QString GraphicPage::BlankWarning() const {
    return blankWarning_->text();
}

void GraphicPage::StopPick() {
    if (!pickMode_) return;
    pickMode_ = false;
    bufferTimer_.stop();
    bPick_->setChecked(false);
    surface_->unsetCursor();
    emit RedrawWanted();
}

void GraphicPage::BufferTimerTimer() {
    if (bufferGuard_) return;
    bufferGuard_ = true;
    bufferTimer_.stop();
    // The buffer is drawn inverting: drawing it again where it was erases it.
    if (!bufferDrawPending_) PreviewPass(bufferLines_);
    ncgen::ShiftToPick(bufferLines_, pickState_);
    PreviewPass(bufferLines_);
    bufferDrawPending_ = false;
    bufferGuard_ = false;
}

void GraphicPage::KeyZoom(bool out) {
    simulation::KeyZoomStep(grafik_, out);
    Drawsimulation();
}

bool GraphicPage::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
    using simulation::RotationButton;
    const bool keypad = modifiers & Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_PageUp:
        KeyZoom(true);
        return true;
    case Qt::Key_PageDown:
        KeyZoom(false);
        return true;
    case Qt::Key_Left:
        RotateClick(RotationButton::ZM_ROT);
        return true;
    case Qt::Key_Right:
        RotateClick(RotationButton::ZP_ROT);
        return true;
    case Qt::Key_Up:
        RotateClick(RotationButton::YM_ROT);
        return true;
    case Qt::Key_Down:
        RotateClick(RotationButton::YP_ROT);
        return true;
    case Qt::Key_Minus:
        if (!keypad) return false;
        KeyZoom(true);
        return true;
    case Qt::Key_Plus:
        if (!keypad) return false;
        KeyZoom(false);
        return true;
    default:
        break;
    }
    if (key == Qt::Key_Home) {
        FitClick();
        return true;
    }
    if (key == Qt::Key_Escape && pickMode_) {
        StopPick();
        return true;
    }
    return false;
}

void GraphicPage::wheelEvent(QWheelEvent* event) {
    MSWheelWheelEvent(event->angleDelta().y(), event->globalPosition().toPoint());
    event->accept();
}

void GraphicPage::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(event->key(), event->modifiers())) QWidget::keyPressEvent(event);
}

void GraphicPage::ApplyJobView(const ncgen::TJob& job) {
    grafik_.SetWorldBox(job.D3WorldX1, job.D3WorldY1, job.D3WorldZ1, job.D3WorldX2, job.D3WorldY2,
                        job.D3WorldZ2);
    grafik_.SetD3Zrotation(job.D3Zrotation);
    grafik_.SetD3Yrotation(job.D3Yrotation);
    // The pointer has not been over the new view yet.
    readOut_->Show({});
}

void GraphicPage::StoreJobView(ncgen::TJob& job) const {
    job.D3WorldX1 = grafik_.D3WorldX1();
    job.D3WorldY1 = grafik_.D3WorldY1();
    job.D3WorldZ1 = grafik_.D3WorldZ1();
    job.D3WorldX2 = grafik_.D3WorldX2();
    job.D3WorldY2 = grafik_.D3WorldY2();
    job.D3WorldZ2 = grafik_.D3WorldZ2();
    job.D3Zrotation = grafik_.D3Zrotation();
    job.D3Yrotation = grafik_.D3Yrotation();
}

void GraphicPage::ApplySettingsView(const config::TSettings& settings) {
    view_.showAxes = settings.ShowAxes;
    view_.showRapidMoves = settings.ShowRapidMoves;
    axisButt_->setChecked(settings.ShowAxes);
    g0Butt_->setChecked(settings.ShowRapidMoves);
    const auto preset = static_cast<simulation::ViewPreset>(static_cast<int>(settings.View));
    simulation::ApplyViewPreset(grafik_, preset);
    setPresetButtons(preset);
    Drawsimulation();
}

} // namespace korvex::app
