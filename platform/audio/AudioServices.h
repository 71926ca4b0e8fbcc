#pragma once
// System sounds: short sound files registered once and played by id, fire and forget.
#include "platform/audio/Forward.h"
#include "platform/foundation/NSURL.h"

#include <cstdint>

constexpr OSStatus kAudioServicesNoError = 0;
// A URL that is not a file URL of a device path, or no place for the id.
constexpr OSStatus kAudio_ParamError = -50;
// The file is missing or is not a sound the device can decode.
constexpr OSStatus kAudioServicesSystemSoundUnspecifiedError = -1500;
// The id names no registered sound.
constexpr OSStatus kAudioServicesBadSpecifierError =
    0x73706563; // the four-char code of a bad specifier

// Decodes the sound now, so that a missing or unreadable file fails here and nothing is
// registered. On success answers kAudioServicesNoError and stores a new id in `outID`.
OSStatus AudioServicesCreateSystemSoundID(const NSURL& fileURL, SystemSoundID* outID);
// Returns at once while the sound plays to its end; several plays overlap. An unknown id
// plays nothing.
void AudioServicesPlaySystemSound(SystemSoundID inSystemSoundID);
// Forgets the id; a play already started still runs to its end.
OSStatus AudioServicesDisposeSystemSoundID(SystemSoundID inSystemSoundID);
