#pragma once

// Installs the real implementation of every platform seam.
void InstallRealPlatform();
