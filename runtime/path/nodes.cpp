// The node pool and the closed set.
#include "runtime/path/nodes.h"

#include <algorithm>
#include <new>

using namespace rt;

namespace rt {

NodeFactory::~NodeFactory()
{
    delete[] nodes_;
}

bool NodeFactory::setCapacity(int32_t n)
{
    delete[] nodes_;
    nodes_ = nullptr;
    capacity_ = 0;
    used_ = 0;
    if (n <= 0) return n == 0;
    nodes_ = new (std::nothrow) Node[size_t(n)];
    if (!nodes_) return false;
    capacity_ = n;
    return true;
}

NodeHashTable::~NodeHashTable()
{
    delete[] buckets_;
}

bool NodeHashTable::setSize(int32_t bits)
{
    delete[] buckets_;
    bits = std::clamp(bits, 0, 24) & ~1;
    buckets_ = new (std::nothrow) Node*[size_t(1) << bits]();
    bits_ = buckets_ ? bits : 0;
    count_ = 0;
    found_ = nullptr;
    foundLink_ = nullptr;
    return buckets_ != nullptr;
}

void NodeHashTable::insert(Node* node)
{
    Node** head = &buckets_[bucketOf(node->x, node->y)];
    for (Node* n = *head; n; n = n->hashNext)
        if (n == node) return;
    node->hashNext = *head;
    *head = node;
    ++count_;
}

Node* NodeHashTable::find(int32_t x, int32_t y)
{
    Node** link = &buckets_[bucketOf(x, y)];
    for (Node* n = *link; n; link = &n->hashNext, n = n->hashNext) {
        if (n->x == x && n->y == y) {
            found_ = n;
            foundLink_ = link;
            return n;
        }
    }
    found_ = nullptr;
    foundLink_ = nullptr;
    return nullptr;
}

void NodeHashTable::unlinkFound()
{
    if (!found_) return;
    *foundLink_ = found_->hashNext;
    found_->hashNext = nullptr;
    found_ = nullptr;
    foundLink_ = nullptr;
    --count_;
}

void NodeHashTable::clear(NodeFactory& factory)
{
    if (!buckets_ || count_ == 0) return;
    // One release per chained node: the count says how many without walking the chains.
    factory.release(uint32_t(count_));
    std::fill_n(buckets_, size_t(1) << bits_, nullptr);
    count_ = 0;
    found_ = nullptr;
    foundLink_ = nullptr;
}

} // namespace rt
