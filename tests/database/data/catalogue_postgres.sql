-- The catalogue fixture on PostgreSQL; catalogue_sqlite.sql is the same
-- logical schema.
CREATE SCHEMA second;

CREATE TABLE customer (
  id serial PRIMARY KEY,
  name varchar(40) NOT NULL,
  nickname varchar,
  notes text,
  balance numeric(10,2),
  active boolean,
  created timestamp,
  code uuid,
  photo bytea
);

CREATE TABLE product (id integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY, title varchar(40));

CREATE TABLE orders (
  customer_id integer NOT NULL,
  number integer NOT NULL,
  product_id integer,
  PRIMARY KEY (customer_id, number),
  CONSTRAINT fk_customer FOREIGN KEY (customer_id) REFERENCES customer (id),
  CONSTRAINT fk_product FOREIGN KEY (product_id) REFERENCES product (id)
);

CREATE TABLE order_line (
  customer_id integer NOT NULL,
  order_number integer NOT NULL,
  line integer NOT NULL,
  PRIMARY KEY (customer_id, order_number, line),
  CONSTRAINT fk_order FOREIGN KEY (customer_id, order_number)
    REFERENCES orders (customer_id, number)
);

-- The same constraint name as on orders: PostgreSQL allows it.
CREATE TABLE invoice (
  id int PRIMARY KEY,
  customer_id integer,
  CONSTRAINT fk_customer FOREIGN KEY (customer_id) REFERENCES customer (id)
);

CREATE TABLE a_b (x integer NOT NULL PRIMARY KEY);
CREATE TABLE axb (y integer PRIMARY KEY, z integer);

CREATE VIEW customer_names AS SELECT name FROM customer;

CREATE TABLE second.extra (id int PRIMARY KEY, label text);
