#pragma once

// Protocol version codes of the settings: 70 = SRCP 0.73, 80 = SRCP 0.80.
constexpr int SrcpVersion073 = 70;
constexpr int SrcpVersion080 = 80;

// Every code but 0.73 opens an SRCP 0.8 session on connect, so its power and
// accessory commands take the SRCP 0.8 form too.
constexpr bool SprichtSrcp08(int srcpVersion)
{
    return srcpVersion != SrcpVersion073;
}
