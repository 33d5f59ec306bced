// Generated from table orders: do not edit.
#pragma once
#include <string>
#include <vector>

namespace Shop {

struct Customer;
struct OrderLine;

struct Orders {
    int customer_id{};
    int id{}; // key, generated
    std::string placed{};
    Customer* customer = nullptr; // by customer_id -> id
    std::vector<OrderLine*> order_lines;
};

} // namespace Shop
