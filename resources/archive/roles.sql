-- SPDX-License-Identifier: GPL-3.0-or-later
-- The roles of a team archive on PostgreSQL: hygra_operator for the people who
-- download and import, hygra_reader for reviewers and auditors. Neither may
-- log in; each person's own login role becomes a member of one of them.
--
-- `hygra-cli archive setup --admin-url URL` runs these statements; an
-- administrator who prefers psql runs them as the database's owner (who needs
-- CREATEROLE, or a superuser) once the archive's tables exist, e.g. after
-- `hygra-cli archive list --archive postgresql://OWNER@HOST/DATABASE`:
--
--   psql -v ON_ERROR_STOP=1 --single-transaction \
--        -f /usr/share/hygra/archive-roles.sql postgresql://OWNER@HOST/DATABASE
--   psql -c 'GRANT hygra_operator TO alice' postgresql://OWNER@HOST/DATABASE
--
-- Running it again changes nothing. The program needs no more than these
-- rights: entries are only ever added, never changed or removed, and each
-- login keeps its own rows of locations (where its files lie). The audit trail
-- is appended to by everyone, in the name of the role they logged in with
-- (a trigger of the table sees to it), and changed by no one but the owner.

DO $$
BEGIN
    IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'hygra_operator') THEN
        CREATE ROLE hygra_operator NOLOGIN;
    END IF;
    IF NOT EXISTS (SELECT FROM pg_catalog.pg_roles WHERE rolname = 'hygra_reader') THEN
        CREATE ROLE hygra_reader NOLOGIN;
    END IF;
END
$$;

-- Exactly these rights, whatever was granted before.
REVOKE ALL ON recordings, locations, schema_version, evaluation_settings, audit_trail,
    review_choices, signature_meanings FROM hygra_operator, hygra_reader;
GRANT SELECT, INSERT ON recordings TO hygra_operator;
GRANT SELECT ON schema_version TO hygra_operator;
GRANT SELECT, INSERT, UPDATE, DELETE ON locations TO hygra_operator;
-- The range and activation energy chosen per logger on the summary page.
GRANT SELECT, INSERT, DELETE ON evaluation_settings TO hygra_operator;
GRANT SELECT ON recordings, locations, schema_version, evaluation_settings TO hygra_reader;
-- Readers act too (they export and check): their actions are entries as well.
GRANT SELECT, INSERT ON audit_trail TO hygra_operator, hygra_reader;
-- What comments and signatures choose from: kept by the owner alone.
GRANT SELECT ON review_choices, signature_meanings TO hygra_operator, hygra_reader;

-- Every row of locations names the login that wrote it (its default, which
-- the program never sets): everyone reads every row, an operator writes only
-- its own and cannot put another login's name on one. The owner is exempt.
ALTER TABLE locations ENABLE ROW LEVEL SECURITY;
DROP POLICY IF EXISTS hygra_read_all ON locations;
CREATE POLICY hygra_read_all ON locations FOR SELECT USING (true);
DROP POLICY IF EXISTS hygra_insert_own ON locations;
CREATE POLICY hygra_insert_own ON locations FOR INSERT TO hygra_operator
    WITH CHECK (login = current_user);
DROP POLICY IF EXISTS hygra_update_own ON locations;
CREATE POLICY hygra_update_own ON locations FOR UPDATE TO hygra_operator
    USING (login = current_user) WITH CHECK (login = current_user);
DROP POLICY IF EXISTS hygra_delete_own ON locations;
CREATE POLICY hygra_delete_own ON locations FOR DELETE TO hygra_operator
    USING (login = current_user);
