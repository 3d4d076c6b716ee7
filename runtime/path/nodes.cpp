// The node pool.
#include "runtime/path/nodes.h"

#include <cstddef>

#include "runtime/path/search_memory.h"

namespace rt {

NodeFactory::~NodeFactory()
{
    setCapacity(0);
}

bool NodeFactory::setCapacity(int32_t n)
{
    releaseSearchMemory(nodes_, size_t(capacity_) * sizeof(Node));
    nodes_ = nullptr;
    capacity_ = 0;
    used_ = 0;
    if (n <= 0) return n == 0;
    nodes_ = static_cast<Node*>(allocateSearchMemory(size_t(n) * sizeof(Node), false));
    if (!nodes_) return false;
    capacity_ = n;
    return true;
}

} // namespace rt
