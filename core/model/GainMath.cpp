#include "core/model/GainMath.h"

#include "core/model/Text.h"

#include <algorithm>

namespace deskpanel {

int gainDb(int position, bool reducedGainRange)
{
    int db = std::clamp(MaxGainPosition - position + MinGainDb, MinGainDb, MaxGainDb);
    if (reducedGainRange && db >= ReducedRangeCeilingDb)
        db = ReducedRangeCeilingDb;
    return db;
}

std::string overviewGainText(int db)
{
    return format("+ %d dB", db);
}

std::string underviewGainText(int db)
{
    return format("+%d ", db);
}

} // namespace deskpanel
