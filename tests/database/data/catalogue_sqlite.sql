-- The catalogue fixture on SQLite; catalogue_postgres.sql is the same
-- logical schema. The second schema is an attached database.
ATTACH DATABASE ':memory:' AS second;

CREATE TABLE customer (
  id INTEGER PRIMARY KEY,
  name VARCHAR(40) NOT NULL,
  nickname VARCHAR,
  notes TEXT,
  balance NUMERIC(10,2),
  active BOOLEAN,
  created TIMESTAMP,
  code UUID,
  photo BLOB
);

CREATE TABLE product (id INTEGER PRIMARY KEY AUTOINCREMENT, title VARCHAR(40));

CREATE TABLE orders (
  customer_id INTEGER NOT NULL,
  number INTEGER NOT NULL,
  product_id INTEGER,
  PRIMARY KEY (customer_id, number),
  CONSTRAINT fk_customer FOREIGN KEY (customer_id) REFERENCES customer (id),
  CONSTRAINT fk_product FOREIGN KEY (product_id) REFERENCES product (id)
);

CREATE TABLE order_line (
  customer_id INTEGER NOT NULL,
  order_number INTEGER NOT NULL,
  line INTEGER NOT NULL,
  PRIMARY KEY (customer_id, order_number, line),
  CONSTRAINT fk_order FOREIGN KEY (customer_id, order_number)
    REFERENCES orders (customer_id, number)
);

-- INT, unlike INTEGER, does not make the key the row id.
CREATE TABLE invoice (
  id INT PRIMARY KEY,
  customer_id INTEGER,
  CONSTRAINT fk_customer FOREIGN KEY (customer_id) REFERENCES customer (id)
);

CREATE TABLE a_b (x INTEGER NOT NULL PRIMARY KEY);
CREATE TABLE axb (y INTEGER PRIMARY KEY, z INTEGER);

CREATE VIEW customer_names AS SELECT name FROM customer;

CREATE TABLE second.extra (id INT PRIMARY KEY, label TEXT);
