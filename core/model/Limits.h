#pragma once

namespace deskpanel {

constexpr int MaxUnits = 48;
constexpr int ChannelsPerUnit = 8;
constexpr int MaxChannels = MaxUnits * ChannelsPerUnit; // 384
constexpr int MaxLinkGroups = 10;
constexpr int MaxSceneEntries = 200; // the Blank Scene and 199 stored scenes
constexpr int TextFieldBytes = 100; // every name and notes text: 99 characters and a NUL
constexpr int MaxTextChars = TextFieldBytes - 1;
constexpr int MaxGainPosition = 72; // 8 dB; position 0 is 80 dB

// Channel addressing: channel index 0..383, unit number 1..48, input number 1..8.
constexpr int unitOfChannel(int channel)
{
    return channel / ChannelsPerUnit + 1;
}
constexpr int inputOfChannel(int channel)
{
    return channel % ChannelsPerUnit + 1;
}
constexpr int globalChannelNumber(int channel)
{
    return channel + 1;
}
constexpr int channelIndex(int unitNumber, int input)
{
    return (unitNumber - 1) * ChannelsPerUnit + (input - 1);
}
constexpr bool isValidChannel(int channel)
{
    return channel >= 0 && channel < MaxChannels;
}
constexpr bool isValidUnitNumber(int unitNumber)
{
    return unitNumber >= 1 && unitNumber <= MaxUnits;
}

} // namespace deskpanel
