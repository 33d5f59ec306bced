// Generated from table order_line: do not edit.
#pragma once
#include <string>
#include <vector>

namespace Shop {

struct Product;
struct Orders;

struct OrderLine {
    int line{}; // key
    int order_id{}; // key
    int product_id{};
    int quantity{};
    Orders* orders = nullptr; // by order_id -> id
    Product* product = nullptr; // by product_id -> id
};

} // namespace Shop
