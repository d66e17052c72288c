#include "sound/playback_volume.h"

#include "win/com.h"

#include <windows.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>

namespace sound {

namespace {

// The ids of the device enumerator and of the endpoint volume, here rather than taken from a
// library, which not every toolchain ships with them.
const CLSID DeviceEnumeratorClass = {
    0xbcde0395, 0xe52f, 0x467c, {0x8e, 0x3d, 0xc4, 0x57, 0x92, 0x91, 0x69, 0x2e}};
const IID DeviceEnumeratorInterface = {
    0xa95664d2, 0x9614, 0x4f35, {0xa7, 0x46, 0xde, 0x8d, 0xb6, 0x36, 0x17, 0xe6}};
const IID EndpointVolumeInterface = {
    0x5cdf2c82, 0x841e, 0x4546, {0x97, 0x22, 0x0c, 0xf7, 0x40, 0x78, 0x22, 0x9a}};

// The volume of the device that plays the clock's sounds: the default one for everyday sounds.
// Empty on Windows XP, where the enumerator cannot be created, and without a device.
void openDefaultVolume(win::ComReference<IAudioEndpointVolume>& volume) {
    win::ComReference<IMMDeviceEnumerator> devices;
    if (FAILED(CoCreateInstance(DeviceEnumeratorClass, nullptr, CLSCTX_INPROC_SERVER,
                                DeviceEnumeratorInterface, devices.putVoid())))
        return;
    win::ComReference<IMMDevice> device;
    if (FAILED(devices->GetDefaultAudioEndpoint(eRender, eConsole, device.put())))
        return;
    if (FAILED(device->Activate(EndpointVolumeInterface, CLSCTX_INPROC_SERVER, nullptr,
                                volume.putVoid())))
        volume.reset();
}

} // namespace

bool playbackAudible() {
    win::ComReference<IAudioEndpointVolume> volume;
    openDefaultVolume(volume);
    if (!volume)
        return true;
    BOOL muted = FALSE;
    if (SUCCEEDED(volume->GetMute(&muted)) && muted)
        return false;
    float level = 1.0f;
    return !(SUCCEEDED(volume->GetMasterVolumeLevelScalar(&level)) && level <= 0.0f);
}

} // namespace sound
