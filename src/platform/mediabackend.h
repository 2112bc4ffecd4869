#pragma once

// Chooses the media framework's FFmpeg backend, which plays .avi, .mpg and
// .wmv with the libraries Qt Multimedia already needs (the GStreamer backend
// needs further plugin packages and crashes without its base plugins). Call
// before the first use of Qt Multimedia; a backend the user set is kept.
void chooseMediaBackend();

// Whether the machine has a sound output or input (there is none without a
// sound server, as on build machines).
bool hasAudioOutput();
bool hasAudioInput();
