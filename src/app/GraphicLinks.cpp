#include "app/GraphicLinks.h"

#include "app/GenerateController.h"
#include "app/GraphicPage.h"
#include "app/JobDocument.h"
#include "app/JobPanel.h"
#include "app/NumericKeyFilter.h"
#include "app/ProfilePanel.h"
#include "ncgen/GenerateLayer.h"

#include <QLineEdit>

namespace korvex::app {

void LinkGraphic(GraphicPage& graphic, JobPanel& panel, const ProfilePanel& profilePanel,
                 GenerateController& generator, const JobDocument& document) {
    graphic.SetDocument(document);
    QObject::connect(&graphic, &GraphicPage::PickWanted, &graphic,
                     [&graphic, &panel, &profilePanel, &generator, &document] {
                         if (generator.ProgramOutOfDate()) generator.ConvertClick();
                         graphic.StartPick({panel.EXVersatz()->text().toStdString(),
                                            panel.EYVersatz()->text().toStdString(),
                                            profilePanel.ZEbeneauswahl(),
                                            ncgen::IsLatheMode(document.Profile())});
                     });
    QObject::connect(&graphic, &GraphicPage::OffsetsPicked, &graphic,
                     [&panel](const QString& x, const QString& y) {
                         NumericKeyFilter::SetText(panel.EXVersatz(), x);
                         NumericKeyFilter::SetText(panel.EYVersatz(), y);
                     });
    QObject::connect(&graphic, &GraphicPage::RedrawWanted, &graphic, [&generator, &graphic] {
        if (generator.ProgramOutOfDate())
            generator.ConvertClick();
        else
            graphic.Drawsimulation();
    });
}

} // namespace korvex::app
