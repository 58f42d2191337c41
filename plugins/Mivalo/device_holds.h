// The device references held by the objects the package hands out.
//
// Releasing a DirectSound device destroys the buffers still made from it
// (Wine's DirectSound does so, and Release then answers 0). A buffer value
// or a listener that outlived its device would then name freed memory, and
// the machine would crash on the next primitive. So each buffer and listener
// the package creates holds one reference on its device, dropped when the
// package releases the object: _ReleaseDirectSound on a device that still
// has buffers is then not the last reference (it answers 0), and
// the device goes when its last buffer goes. Streams hold theirs in their
// record (stream_record.h). Used on the machine's thread only.
#pragma once

#include <dsound.h>

namespace mivalo {

// object (a buffer or listener interface) now holds a reference on device.
void holdDevice(const void* object, IDirectSound* device);
// Drops the reference object holds, if any.
void dropDevice(const void* object);

}  // namespace mivalo
