#include "intra_block.h"
#include "pictures.h"

namespace video {

void initVideoTables() {
  initIntraTables();
  initCopyTables();
}

}  // namespace video
