-- Work database (work/WORK.MDB): the reference tables the program reads, and the work table of
-- the pesticide stock recomputation.

-- Code lists by kind: 10 weather, 11 planting categories, 12 shipment units, 13 cultivation
-- methods, 15 pesticide uses, 16 formulations, 20 kinds of work. NOTE of kinds 15 and 16 holds
-- the wording of the registration tables (L_CHEMI.USES, L_CHEMI.CHEMI_TYPE).
CREATE TABLE L_KBN (
  KBN         INT NOT NULL,
  ID          INT NOT NULL,
  NM          VARCHAR(255),
  NOTE        VARCHAR(255),
  PRIMARY KEY (KBN, ID)
);

-- The sexagenary cycle of days, 1 to 60.
CREATE TABLE L_ETO (
  ID          INT NOT NULL,
  ETO_YM      VARCHAR(20),
  PRIMARY KEY (ID)
);

-- Accounts. DC_KBN 2: credit-normal; PG_KBN 1: the balance runs over all years;
-- OPT_KBN: 2 plantings, 3 pesticide purchases are offered as the voucher's option.
CREATE TABLE L_ACC (
  ACC_ID      INT NOT NULL,
  ACC_NM      VARCHAR(255),
  DC_KBN      INT,
  PG_KBN      INT,
  OPT_KBN     INT,
  PRIMARY KEY (ACC_ID)
);

-- Pesticide units. RT is the number of CHG_ID units in one ID unit.
CREATE TABLE L_CHEMI_UNIT (
  ID          INT NOT NULL,
  NM          VARCHAR(50),
  CHG_ID      INT,
  RT          DOUBLE,
  PRIMARY KEY (ID)
);

-- Crops and their categories. A category lists every crop whose CROP_KBN begins with its code.
CREATE TABLE L_CROP (
  CROP_NM1    VARCHAR(100) NOT NULL,
  CROP_NM2    VARCHAR(100),
  CROP_KBN    VARCHAR(20),
  PRIMARY KEY (CROP_NM1)
);

CREATE TABLE L_CROP_KBN (
  CROP_KBN    VARCHAR(20) NOT NULL,
  CROP_KBN_NM VARCHAR(100),
  PRIMARY KEY (CROP_KBN)
);

-- Reports: paper size in twips, orientation 1 portrait, 2 landscape.
CREATE TABLE L_REP (
  REP_ID      INT NOT NULL,
  REP_NM      VARCHAR(100),
  HEIGHT      INT,
  WIDTH       INT,
  ORIENTATION INT,
  PRIMARY KEY (REP_ID)
);

-- Pesticide registrations. Shipped empty: the rows come from the registration data only.
CREATE TABLE L_CHEMI (
  REG_NO      INT NOT NULL,
  CHEMI_NM    VARCHAR(255),
  CHEMI_KIND  VARCHAR(255),
  MAKER_OMT   VARCHAR(100),
  USES        VARCHAR(100),
  CHEMI_TYPE  VARCHAR(100),
  PRIMARY KEY (REG_NO)
);

CREATE TABLE L_MAKER (
  MAKER_OMT   VARCHAR(100) NOT NULL,
  MAKER_NM    VARCHAR(255),
  PRIMARY KEY (MAKER_OMT)
);

CREATE TABLE L_CHEMI_APPL (
  REG_NO      INT,
  CROP_NM     VARCHAR(191),
  TARGET      VARCHAR(1000),
  PURPOSE     VARCHAR(1000),
  DILUTION    VARCHAR(1000),
  USE_QTY     VARCHAR(1000),
  SEASON      VARCHAR(1000),
  USE_TIMES   VARCHAR(1000),
  USE_WAY     VARCHAR(1000)
);
CREATE INDEX L_CHEMI_APPL_REG_NO ON L_CHEMI_APPL (REG_NO);

-- Which crops a rule's crop wording covers: comma-separated names and category codes.
CREATE TABLE L_CHEMI_APPL_MATCH (
  CHEMI_CROP_NM VARCHAR(191),
  CROP_NM       VARCHAR(2000),
  CROP_KBN      VARCHAR(2000),
  CROP_NM_NG    VARCHAR(2000),
  CROP_KBN_NG   VARCHAR(2000)
);
CREATE INDEX L_CHEMI_APPL_MATCH_NM ON L_CHEMI_APPL_MATCH (CHEMI_CROP_NM);

CREATE TABLE L_CHEMI_PURPOSE (
  REG_NO      INT,
  PURPOSE     VARCHAR(255)
);
CREATE INDEX L_CHEMI_PURPOSE_REG_NO ON L_CHEMI_PURPOSE (REG_NO);

-- One row per diary line of the latest stock recomputation. RT stays Null for a pair of units
-- that has no rate, so such a line adds nothing to the sums.
CREATE TABLE W_CHEMI_USE (
  CHEMI_ID    INT,
  QTY         DOUBLE,
  PUR_UNIT_ID INT,
  DTL_UNIT_ID INT,
  RT          DOUBLE,
  USE_QTY     DOUBLE
);
