#pragma once
#include <QString>
#include <array>

// Names of the game's files: the player's data files, the content folders
// and the default assets that the build draws (tools/assetgen). The
// players' content (Graphics, Backs, Sound, help.txt) stays as files; where
// they are is for GamePaths to say.
namespace assets {

// The data files, in the data folder.
inline constexpr const char* SettingsFile = "init.txt";
inline constexpr const char* FolderListFile = "dirs.txt";
inline constexpr const char* HighScoreFile = "best.txt";
// The board in progress, kept between two runs.
inline constexpr const char* BoardFile = "board.txt";

inline constexpr const char* GraphicsFolder = "Graphics";
inline constexpr const char* BacksFolder = "Backs";
inline constexpr const char* SoundFolder = "Sound";
inline constexpr const char* HelpFile = "help.txt";

// The default card back, inside BacksFolder.
inline constexpr const char* DefaultBack = "Sky.jpg";

// The program's own art is drawn into Splash/ and compiled into the program
// as Qt resources under the same names, so no layout can lose it.
inline QString Compiled(const char* name) {
    return QStringLiteral(":/") + QString::fromLatin1(name);
}

// The splash pictures and the trophy come in two sizes: the names below for
// ordinary screens and, with "@2x" before the extension, drawn at twice the
// size for screens of two or more device pixels per logical pixel.
inline QString AtScale(const QString& name, int scale) {
    if (scale <= 1) return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    return name.left(dot) + QStringLiteral("@%1x").arg(scale) + name.mid(dot);
}
// The compiled-in copy of `name` for a screen of `devicePixelRatio`; its
// scale, 1 or 2, goes to `scale` when asked for.
inline QString CompiledFor(const char* name, double devicePixelRatio, int* scale = nullptr) {
    const int s = devicePixelRatio > 1 ? 2 : 1;
    if (scale) *scale = s;
    return QStringLiteral(":/") + AtScale(QString::fromLatin1(name), s);
}

// The splash's two pictures: the logo (imgLogo, left, 160 x 240) and the
// second picture (Image1, right, 160 x 240), opaque on a green felt, so they
// sit on any window colour. They go through the picture loader like every
// other picture, hence JPEG and ICO rather than PNG.
inline constexpr const char* SplashLogo = "Splash/logo.jpg";
inline constexpr const char* SplashPicture = "Splash/cards.jpg";

// The high-score window's background: a calm greyscale trophy, 630 x 460.
inline constexpr const char* Trophy = "Splash/trophy.jpg";

// The application icon with transparent corners: 256 x 256 and a 64 x 64 copy.
inline constexpr const char* Icon = "Splash/tavimo.ico";
inline constexpr const char* IconSmall = "Splash/tavimo64.ico";

// The desktop's id for the game: its menu entry, metainfo and theme icon.
inline constexpr const char* DesktopId = "io.github.tavimo.Tavimo";

// The icon for the desktop's icon theme, as PNGs of these sizes...
inline constexpr std::array<int, 8> ThemeIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};
inline QString ThemeIcon(int size) {
    return QStringLiteral("Splash/icon%1.png").arg(size);
}
// ... and as a scalable picture.
inline constexpr const char* ThemeIconScalable = "Splash/icon.svg";

}  // namespace assets
