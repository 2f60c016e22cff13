#include "core/persistence/ProjectFileReader.h"

#include "core/model/Text.h"
#include "core/persistence/ProjectFileLayout.h"
#include "core/persistence/ProjectPrefsCodec.h"
#include "core/persistence/SceneRecordCodec.h"

#include <array>
#include <cstring>
#include <new>
#include <vector>

namespace deskpanel {

using namespace projectfile;

ProjectFileReader::ProjectFileReader(Project& project, Operator& op, Timers& timers)
    : m_project(project), m_operator(op), m_timers(timers)
{}

ProjectFileReader::Outcome ProjectFileReader::read(ByteSource& source)
{
    readPrefs(source);

    m_project.scenes.clear();
    // Only the Blank Scene is left, whatever stops the reading below.
    m_project.activeSceneIndex = 0;
    m_project.activeSceneName = SceneList::BlankSceneText;
    try {
        std::vector<std::uint8_t> record(record::Bytes);
        for (int position = 1;; ++position) {
            // A cut-short record at the end is ignored.
            if (source.read(record.data(), record.size()) != record.size())
                break;
            if (position >= MaxSceneEntries) {
                m_operator.platformMessage(TooManyScenesText);
                break;
            }
            takeRecord(record.data());
        }
    } catch (const std::bad_alloc&) {
        m_operator.platformMessage("Cannot allocate memory for file read-in");
        return Outcome::OutOfMemory;
    }
    return Outcome::Complete;
}

void ProjectFileReader::readPrefs(ByteSource& source)
{
    std::array<std::uint8_t, HeaderBytes> header{};
    const std::size_t got = source.read(header.data(), header.size());
    if (got != HeaderBytes || std::memcmp(header.data(), HeaderText, HeaderBytes) != 0) {
        // An older file without header and preferences: records from the first byte.
        source.rewind();
        return;
    }
    PrefsRecord prefs{};
    if (source.read(prefs.data(), prefs.size()) != prefs.size()) {
        m_operator.platformMessage("Failed to read prefs");
        return;
    }
    applyProjectPrefs(parseProjectPrefs(prefs.data()), m_project.prefs, m_timers);
}

void ProjectFileReader::takeRecord(const std::uint8_t* record)
{
    const int units = recordUnitCount(record);

    for (int g = 0; g < MaxLinkGroups; ++g) {
        LinkGroup& group = m_project.linkGroups[static_cast<std::size_t>(g)];
        group.title = recordText(record, record::GroupTitle + static_cast<std::size_t>(g) * TextBytes);
        group.notes = recordText(record, record::GroupNotes + static_cast<std::size_t>(g) * TextBytes);
    }
    for (int u = 0; u < units; ++u) {
        UnitInfo& unit = m_project.units[static_cast<std::size_t>(u)];
        unit.name = recordText(record, record::UnitName + static_cast<std::size_t>(u) * TextBytes);
        unit.notes = recordText(record, record::UnitNotes + static_cast<std::size_t>(u) * TextBytes);
        for (int input = 0; input < ChannelsPerUnit; ++input) {
            const int c = u * ChannelsPerUnit + input;
            m_project.live[static_cast<std::size_t>(c)] = recordSettings(record, c);
            ChannelInfo& channel = m_project.channels[static_cast<std::size_t>(c)];
            channel.name = recordText(record, record::ChannelName + static_cast<std::size_t>(c) * TextBytes);
            channel.notes = recordText(record, record::ChannelNotes + static_cast<std::size_t>(c) * TextBytes);
        }
    }

    // Channels of units beyond the record's count keep, in this snapshot, what the
    // previous record (or the project before opening) gave them.
    Scene scene;
    scene.name = cutToFieldChars(recordText(record, record::SceneName));
    scene.notes = recordText(record, record::SceneNotes);
    scene.settings = m_project.snapshotSettings();
    scene.channelNames = m_project.channelNames();
    m_project.scenes.append(std::move(scene)); // read() never passes the 199th
}

} // namespace deskpanel
