// The two picture codings of ZKV6: IX (640x480 video pictures, predicted or
// self-contained) and IW (2048x768 panoramas), decoded from the payload of
// their chunk.
#pragma once

#include <cstddef>
#include <cstdint>

namespace video {

constexpr int kIxWidth = 640, kIxHeight = 480;
constexpr int kIwWidth = 2048, kIwHeight = 768;

// payload: the chunk's bytes after its 8-byte header, size bytes of them; no
// read goes outside them. current and reference are 640x480 pixels; the
// decoder writes only current.
void decodeIXPicture(const uint8_t* payload, size_t size, uint16_t* current, const uint16_t* reference);

// panorama: 2048x768 pixels, the picture's destination and only source.
void decodeIWPicture(const uint8_t* payload, size_t size, uint16_t* panorama);

}  // namespace video
