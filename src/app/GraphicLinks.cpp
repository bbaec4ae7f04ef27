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
    graphic.SetSources(
        [&generator]() -> const std::vector<std::string>& { return generator.SimulationLines(); },
        [&document]() -> const std::string& { return document.Job().BlankDefinition; });
    graphic.SetPickHooks({[&panel] { return panel.EXVersatz()->text(); },
                          [&panel] { return panel.EYVersatz()->text(); },
                          [&profilePanel] { return profilePanel.ZEbeneauswahl(); },
                          [&document] { return ncgen::IsLatheMode(document.Profile()); },
                          [&panel](const QString& x, const QString& y) {
                              NumericKeyFilter::SetText(panel.EXVersatz(), x);
                              NumericKeyFilter::SetText(panel.EYVersatz(), y);
                          },
                          [&generator] {
                              if (generator.ProgramOutOfDate()) generator.ConvertClick();
                          },
                          [&generator, &graphic] {
                              if (generator.ProgramOutOfDate())
                                  generator.ConvertClick();
                              else
                                  graphic.Drawsimulation();
                          }});
}

} // namespace korvex::app
