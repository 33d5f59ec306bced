-- A small shop: customers place orders of products; an order has lines;
-- products belong to any number of categories. Portable SQL: the same
-- script creates the database on SQLite and on PostgreSQL.
CREATE TABLE customer (
  id INTEGER PRIMARY KEY,
  name VARCHAR(80) NOT NULL,
  email VARCHAR(120),
  notes TEXT
);

CREATE TABLE category (
  id INTEGER PRIMARY KEY,
  title VARCHAR(40) NOT NULL
);

CREATE TABLE product (
  id INTEGER PRIMARY KEY,
  title VARCHAR(80) NOT NULL,
  price NUMERIC(10,2) NOT NULL,
  discontinued BOOLEAN
);

CREATE TABLE product_category (
  product_id INTEGER NOT NULL REFERENCES product (id),
  category_id INTEGER NOT NULL REFERENCES category (id),
  PRIMARY KEY (product_id, category_id)
);

CREATE TABLE orders (
  id INTEGER PRIMARY KEY,
  customer_id INTEGER NOT NULL REFERENCES customer (id),
  placed TIMESTAMP NOT NULL
);

CREATE TABLE order_line (
  order_id INTEGER NOT NULL REFERENCES orders (id),
  line INTEGER NOT NULL,
  product_id INTEGER NOT NULL REFERENCES product (id),
  quantity INTEGER NOT NULL,
  PRIMARY KEY (order_id, line)
);

INSERT INTO customer (id, name, email) VALUES (1, 'Ada Byron', 'ada@example.org');
INSERT INTO customer (id, name, email) VALUES (2, 'Alan Turing', NULL);
INSERT INTO category (id, title) VALUES (1, 'Books'), (2, 'Games');
INSERT INTO product (id, title, price) VALUES (1, 'Chess set', 25.50), (2, 'Logic primer', 12.00);
INSERT INTO product_category VALUES (1, 2), (2, 1), (2, 2);
INSERT INTO orders (id, customer_id, placed) VALUES (1, 1, '2024-05-01 10:00:00');
INSERT INTO order_line VALUES (1, 1, 1, 2), (1, 2, 2, 1);
