#include "platform/Platform.h"

Platform& Platform::Get() {
    static Platform instance;
    return instance;
}
