#pragma once

namespace korvex::app {

class GenerateController;
class GraphicPage;
class JobDocument;
class JobPanel;
class ProfilePanel;

// How the graphic reaches the job: it draws the generator's simulation lines on the job's
// blank, and its pick takes the offsets from the job panel and writes the picked ones back.
void LinkGraphic(GraphicPage& graphic, JobPanel& panel, const ProfilePanel& profilePanel,
                 GenerateController& generator, const JobDocument& document);

} // namespace korvex::app
