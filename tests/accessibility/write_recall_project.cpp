// Writes the project the AT-SPI check opens: one stored scene, "Verse", in which every one
// of the 384 inputs differs from the Blank Scene (gain, mute, polarity and its name), so
// recalling it and the Blank Scene in turn changes every strip.
//   write_recall_project FILE.vpf
#include "core/model/Project.h"
#include "core/persistence/ProjectFileWriter.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(argc == 2 ? stdout : stderr, "usage: write_recall_project FILE.vpf\n");
        return argc == 2 ? 0 : 2;
    }
    deskpanel::Project project;
    project.resetToNewProject("");
    deskpanel::Scene verse;
    verse.name = "Verse";
    verse.settings = project.snapshotSettings();
    for (int c = 0; c < deskpanel::MaxChannels; ++c) {
        auto& s = verse.settings[std::size_t(c)];
        s.gainPosition = 30;
        s.mute = 1;
        s.polarity = 1;
        verse.channelNames[std::size_t(c)] = "Vocal " + std::to_string(c + 1);
    }
    project.scenes.append(verse);
    if (deskpanel::ProjectFileWriter::write(project, argv[1]) != deskpanel::ProjectFileWriter::Result::Saved) {
        std::fprintf(stderr, "write_recall_project: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
