// Generated from table customer: do not edit.
#pragma once
#include <string>
#include <vector>

namespace Shop {

struct Orders;

struct Customer {
    std::string email{};
    int id{}; // key, generated
    std::string name{};
    std::string notes{};
    std::vector<Orders*> orderss;
};

} // namespace Shop
