-- Settings of a first start: the data and master databases are the default files beside the
-- program, one grower, and grower 1 and shop 1 as the defaults, so the first start asks only
-- for the grower and the shop.
-- The connection keys carry no type, as rows written by the connection settings dialog.

INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE, CTRL_TYPE) VALUES
  ('DB_TYPE',     '2',                  NULL),
  ('DB_NAME',     '../data/DATA.MDB',   NULL),
  ('MST_TYPE',    '2',                  NULL),
  ('MST_NAME',    '../data/MASTER.MDB', NULL),
  ('USE_TYPE',    '1',                  4),
  ('DEF_FMR_ID',  '1',                  4),
  ('DEF_SHOP_ID', '1',                  4),
  ('WINDOW_STA',  'False',              1);
