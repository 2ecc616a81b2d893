#pragma once
// The program's PNG images, kept in the Qt resource system under ":/RCPNG/<id>" (ids 131 to
// 135) with the program icon under ":/ICON/128". The images are decoded with straight alpha,
// premultiplied once here, and kept as ARGB32_Premultiplied, so drawing one with QPainter is
// a single source-over blend.
#include <QImage>
#include <QString>

// The resources live in a static library; this makes them available (idempotent). Call it
// before reading any of the paths directly, e.g. for the window icon.
void InitSkinResources();

QString PngResourcePath(int id);

// Loads PNG resource id into image. False when the resource is missing or unreadable; a
// resource that does not decode leaves image empty and still returns true.
bool LoadPngResource(QImage& image, int id);

// Replaces blue, green and red of every pixel of a straight-alpha ARGB32 image by
// trunc(part * alpha / 255) and marks the image ARGB32_Premultiplied. Any other image is
// left alone (false).
bool PremultiplyAlpha(QImage& image);
