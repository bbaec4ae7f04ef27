#include "app/BlankPage.h"

#include "app/CodePage.h"
#include "app/NumericKeyFilter.h"
#include "base/TextNumbers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace korvex::app {

namespace {

// A sketch of the shape with the names of its fields where they measure.
class BlankPicture : public QWidget {
  public:
    BlankPicture(int shape, QWidget* parent) : QWidget(parent), shape_(shape) {
        setObjectName(QStringLiteral("RPicture%1").arg(shape));
        setFixedSize(300, 210);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(QColor(90, 90, 90), 1.5));
        switch (shape_) {
        case simulation::BlankFields::Box:
            box(p);
            break;
        case simulation::BlankFields::CylinderZ:
            cylinder(p, false, "R", "ZP", "ZM");
            break;
        case simulation::BlankFields::CylinderX:
            cylinder(p, true, "R", "XP", "XM");
            break;
        default:
            cylinder(p, true, "R", "YP", "YM");
            break;
        }
        origin(p);
    }

  private:
    void label(QPainter& p, QPointF at, const QString& text) {
        p.save();
        p.setPen(QColor(180, 30, 30));
        QFont font = p.font();
        font.setBold(true);
        p.setFont(font);
        p.drawText(at, text);
        p.restore();
    }
    void origin(QPainter& p) {
        p.save();
        p.setPen(QPen(QColor(30, 60, 160), 1.5));
        const QPointF o(20, 195);
        p.drawLine(o, o + QPointF(30, 0));
        p.drawLine(o, o + QPointF(0, -30));
        p.drawLine(o, o + QPointF(16, -12));
        p.drawText(o + QPointF(33, 4), QStringLiteral("X"));
        p.drawText(o + QPointF(-4, -33), QStringLiteral("Z"));
        p.drawText(o + QPointF(18, -14), QStringLiteral("Y"));
        p.restore();
    }
    void box(QPainter& p) {
        const QPointF a(60, 80), b(190, 80), depth(40, -30), down(0, 50);
        p.drawPolygon(QPolygonF({a, b, b + down, a + down}));
        p.drawLine(a, a + depth);
        p.drawLine(b, b + depth);
        p.drawLine(a + depth, b + depth);
        p.drawLine(b + depth, b + depth + down);
        p.drawLine(b + down, b + depth + down);
        label(p, a + down + QPointF(-10, 16), QStringLiteral("XM, YM"));
        label(p, b + down + QPointF(-10, 16), QStringLiteral("XP"));
        label(p, b + depth + QPointF(4, -4), QStringLiteral("YP"));
        label(p, b + depth + down + QPointF(6, 0), QStringLiteral("ZM"));
        label(p, b + depth + QPointF(6, 16), QStringLiteral("ZP"));
    }
    void cylinder(QPainter& p, bool lying, const char* radius, const char* upper,
                  const char* lower) {
        if (!lying) {
            const QRectF top(80, 40, 120, 40), bottom(80, 110, 120, 40);
            p.drawEllipse(top);
            p.drawArc(bottom, 180 * 16, 180 * 16);
            p.drawLine(top.left(), top.center().y(), bottom.left(), bottom.center().y());
            p.drawLine(top.right(), top.center().y(), bottom.right(), bottom.center().y());
            p.drawLine(top.center(), QPointF(top.right(), top.center().y()));
            label(p, QPointF(145, top.center().y() - 4), QString::fromLatin1(radius));
            label(p, QPointF(205, top.center().y()), QString::fromLatin1(upper));
            label(p, QPointF(205, bottom.center().y()), QString::fromLatin1(lower));
            label(p, top.center() + QPointF(-30, 14), QStringLiteral("XC, YC"));
            return;
        }
        const QRectF first(60, 50, 40, 100), second(190, 50, 40, 100);
        p.drawArc(first, 90 * 16, 180 * 16);
        p.drawEllipse(second);
        p.drawLine(first.center().x(), first.top(), second.center().x(), second.top());
        p.drawLine(first.center().x(), first.bottom(), second.center().x(), second.bottom());
        p.drawLine(second.center(), QPointF(second.center().x(), second.top()));
        label(p, second.center() + QPointF(4, -20), QString::fromLatin1(radius));
        label(p, QPointF(second.center().x() - 8, second.bottom() + 16),
              QString::fromLatin1(upper));
        label(p, QPointF(first.center().x() - 8, first.bottom() + 16), QString::fromLatin1(lower));
        p.drawPoint(second.center());
        label(p, QPointF(110, 104),
              QString::fromLatin1(shape_ == simulation::BlankFields::CylinderX ? "YC, ZC"
                                                                               : "XC, ZC"));
    }

    int shape_;
};

} // namespace

BlankPage::BlankPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PRohteil"));
    auto* page = new QVBoxLayout(this);
    auto* shapes = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    const char* const names[] = {"QUADER1", "ZYL1", "ZYL2", "ZYL3"};
    const QString captions[] = {QStringLiteral("Quader"), QStringLiteral("Zylinder Z"),
                                QStringLiteral("Zylinder X"), QStringLiteral("Zylinder Y")};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(names[i]));
        button->setText(captions[i]);
        button->setCheckable(true);
        button->setMinimumSize(100, 32);
        group->addButton(button);
        shapes->addWidget(button);
        shapeButtons_[i] = button;
        connect(button, &QToolButton::clicked, this, [this, i] {
            SelectShape(i + 1);
            emit Edited();
        });
    }
    shapes->addStretch(1);
    page->addLayout(shapes);

    auto* hint = new QLabel(
        QStringLiteral("Alle Angaben beziehen sich auf die Lage zum Nullpunkt - MINUS-Vorzeichen "
                       "mit angeben!"),
        this);
    hint->setObjectName(QStringLiteral("LRInfo"));
    hint->setWordWrap(true);
    page->addWidget(hint);

    addShapeFields();
    for (QWidget* panel : panels_)
        page->addWidget(panel);

    auto* commands = new QHBoxLayout;
    auto* show = new QPushButton(QStringLiteral("Rohteil anzeigen"), this);
    show->setObjectName(QStringLiteral("RAnzeigen"));
    auto* remove = new QPushButton(QStringLiteral("Rohteil löschen"), this);
    remove->setObjectName(QStringLiteral("RDelete"));
    commands->addWidget(show);
    commands->addWidget(remove);
    commands->addStretch(1);
    page->addLayout(commands);

    page->addWidget(surfaceChoice());
    page->addStretch(1);
    connect(show, &QPushButton::clicked, this, &BlankPage::RAnzeigenClick);
    connect(remove, &QPushButton::clicked, this, &BlankPage::RDeleteClick);
    SelectShape(simulation::BlankFields::Box);
}

// The fields of the box and the three cylinders, each shape on its panel.
void BlankPage::addShapeFields() {
    auto& q = fields_.quader1;
    QWidget* box = shapePanel("PANELQUADER1", 1, 0);
    field(box, 0, "QUADER1_XM", QStringLiteral("X-"), q.xm);
    field(box, 1, "QUADER1_XP", QStringLiteral("X+"), q.xp);
    field(box, 2, "QUADER1_YM", QStringLiteral("Y-"), q.ym);
    field(box, 3, "QUADER1_YP", QStringLiteral("Y+"), q.yp);
    field(box, 4, "QUADER1_ZM", QStringLiteral("Z-"), q.zm);
    field(box, 5, "QUADER1_ZP", QStringLiteral("Z+"), q.zp);
    auto& z1 = fields_.zyl1;
    QWidget* cz = shapePanel("PANELZYL1", 2, 0);
    field(cz, 0, "ZYL1_X", QStringLiteral("X"), z1.x);
    field(cz, 1, "ZYL1_Y", QStringLiteral("Y"), z1.y);
    field(cz, 2, "ZYL1_R", QStringLiteral("R"), z1.r);
    field(cz, 3, "ZYL1_ZM", QStringLiteral("Z-"), z1.zm);
    field(cz, 4, "ZYL1_ZP", QStringLiteral("Z+"), z1.zp);
    auto& z2 = fields_.zyl2;
    QWidget* cx = shapePanel("PANELZYL2", 3, 2);
    field(cx, 0, "ZYL2_XM", QStringLiteral("X-"), z2.xm);
    field(cx, 1, "ZYL2_XP", QStringLiteral("X+"), z2.xp);
    field(cx, 2, "ZYL2_Y", QStringLiteral("Y"), z2.y);
    field(cx, 3, "ZYL2_Z", QStringLiteral("Z"), z2.z);
    field(cx, 4, "ZYL2_R", QStringLiteral("R"), z2.r);
    auto& z3 = fields_.zyl3;
    QWidget* cy = shapePanel("PANELZYL3", 4, 0);
    field(cy, 0, "ZYL3_X", QStringLiteral("X"), z3.x);
    field(cy, 1, "ZYL3_YM", QStringLiteral("Y-"), z3.ym);
    field(cy, 2, "ZYL3_YP", QStringLiteral("Y+"), z3.yp);
    field(cy, 3, "ZYL3_Z", QStringLiteral("Z"), z3.z);
    field(cy, 4, "ZYL3_R", QStringLiteral("R"), z3.r);
}

// Which marking applies on a round blank: the checked button, saved with the job.
QGroupBox* BlankPage::surfaceChoice() {
    auto* surface = new QGroupBox(QStringLiteral("Runde Teile (Zylinder längs X oder Y)"), this);
    surface->setObjectName(QStringLiteral("GOberflaeche"));
    surfaceGroup_ = surface;
    auto* surfaceRows = new QVBoxLayout(surface);
    const std::pair<const char*, QString> surfaceNames[] = {
        {"ROberflaecheEben", QStringLiteral("Eben: alle Punkte auf einer Höhe")},
        {"ROberflaecheFolgen", QStringLiteral("Z folgt der Oberfläche")},
        {"ROberflaecheDrehachse", QStringLiteral("Drehachse (A um X, B um Y, C der Drehmaschine)")},
    };
    for (int i = 0; i < 3; ++i) {
        surfaceButtons_[i] = new QRadioButton(surfaceNames[i].second, surface);
        surfaceButtons_[i]->setObjectName(QString::fromLatin1(surfaceNames[i].first));
        surfaceRows->addWidget(surfaceButtons_[i]);
        connect(surfaceButtons_[i], &QRadioButton::clicked, this,
                [this] { emit SurfaceChosen(Surface()); });
    }
    surfaceButtons_[0]->setChecked(true);
    return surface;
}

QWidget* BlankPage::shapePanel(const char* name, int shape, int centreRow) {
    auto* panel = new QWidget(this);
    panel->setObjectName(QString::fromLatin1(name));
    auto* row = new QHBoxLayout(panel);
    auto* grid = new QGridLayout;
    row->addLayout(grid);
    row->addWidget(new BlankPicture(shape, panel));
    row->addStretch(1);
    if (shape > 1) {
        auto* centre = new QLabel(QStringLiteral("Mittelpunkt"), panel);
        centre->setObjectName(QStringLiteral("LMittelpunkt%1").arg(shape - 1));
        grid->addWidget(centre, centreRow, 2);
    }
    panels_[shape - 1] = panel;
    return panel;
}

QLineEdit* BlankPage::field(QWidget* panel, int row, const char* name, const QString& caption,
                            std::string& text) {
    auto* grid = static_cast<QGridLayout*>(panel->layout()->itemAt(0)->layout());
    auto* edit = new QLineEdit(panel);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(90);
    NumericKeyFilter::Attach(edit);
    NumericKeyFilter::SetText(edit, QString::fromStdString(text));
    connect(edit, &QLineEdit::textChanged, this, [this, &text](const QString& typed) {
        text = typed.toLatin1().toStdString();
        emit Edited();
    });
    grid->addWidget(new QLabel(caption, panel), row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

void BlankPage::SelectShape(int shape) {
    fields_.shape = shape;
    for (int i = 0; i < 4; ++i) {
        panels_[i]->setVisible(i + 1 == shape);
        if (i + 1 == shape) shapeButtons_[i]->setChecked(true);
    }
}

std::string BlankPage::Definition() {
    return simulation::BuildBlankDefinition(fields_);
}

void BlankPage::RAnzeigenClick() {
    emit BlankChosen(Definition());
}

void BlankPage::RDeleteClick() {
    emit BlankChosen({});
}

void BlankPage::SetSurface(ncgen::TSurfaceMode mode) {
    surfaceButtons_[static_cast<int>(mode)]->setChecked(true);
}

void BlankPage::ApplySurfaceTexts(const config::TLanguageTexts& texts) {
    const auto& numbers = text::SURFACE_CHOICE_TEXTS;
    static_cast<QGroupBox*>(surfaceGroup_)->setTitle(FromCodePage(texts.Text(numbers[0])));
    for (int i = 0; i < 3; ++i)
        surfaceButtons_[i]->setText(
            FromCodePage(texts.Text(numbers[static_cast<std::size_t>(i) + 1])));
}

ncgen::TSurfaceMode BlankPage::Surface() const {
    for (int i = 1; i < 3; ++i)
        if (surfaceButtons_[i]->isChecked()) return static_cast<ncgen::TSurfaceMode>(i);
    return ncgen::TSurfaceMode::Flat;
}

} // namespace korvex::app
