#pragma once
// The program's own pictures, drawn at run time: the maker's logo, the splash picture and
// the tool-button pictures.

#include <QIcon>
#include <QPixmap>
#include <QString>

inline constexpr const char* kMakerName = "Example Instruments Ltd.";
inline constexpr const char* kMakerWebsite = "https://www.example.com/rxm5620";

QPixmap LogoPicture(int width, int height);
QPixmap SplashPicture();

enum class ToolPicture { Open, Save, Print, Record, Single, Continuous, Stop };
QIcon ToolIcon(ToolPicture picture);
