#pragma once

// Names of the default assets that the build draws beside the program
// (tools/assetgen). Paths are relative to the program folder.
namespace assets {

inline constexpr const char* GraphicsFolder = "Graphics";
inline constexpr const char* BacksFolder = "Backs";
inline constexpr const char* SoundFolder = "Sound";
inline constexpr const char* HelpFile = "help.txt";

// The default card back, inside BacksFolder.
inline constexpr const char* DefaultBack = "Sky.jpg";

// The splash's two pictures: the logo (imgLogo, left, portrait 160 x 240)
// and the second picture (Image1, right, portrait 160 x 240). Both are
// stretched to their controls, so any similar proportion serves.
inline constexpr const char* SplashLogo = "Splash/logo.png";
inline constexpr const char* SplashPicture = "Splash/cards.png";

// The high-score window's background: a calm greyscale trophy, 630 x 460.
inline constexpr const char* Trophy = "Splash/trophy.jpg";

// The application icon: 256 x 256 and a 64 x 64 copy.
inline constexpr const char* Icon = "Splash/tavimo.png";
inline constexpr const char* IconSmall = "Splash/tavimo64.png";

}  // namespace assets
